read 'PNGI' (10005, "logo@2x") "img/logo@2x.png";
read 'PNGI' (10002, "arrow@3x") "img/arrow@3x.png";
read 'PNGI' (12000, "logo") "img/logo.png";
read 'PNGI' (10004, "close@2x.png") "img/close@2x.png";
read 'PNGI' (10000, "arrow") "img\\arrow.png";
read 'PNGI' (10003, "close.png") "img/close.png";
read 'PNGI' (10001, "arrow@2x") "arrow@2x.png";
