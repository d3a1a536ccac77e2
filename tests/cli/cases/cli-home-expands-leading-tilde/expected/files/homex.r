read 'PNGI' (12345, "icon") "img/icon.png";
