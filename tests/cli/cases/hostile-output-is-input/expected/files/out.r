read 'PNGI' (10001, "a") "img/a.png";
