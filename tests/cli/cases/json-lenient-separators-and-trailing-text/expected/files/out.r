read 'PNGI' (10001, "x\"y") "a.png";
