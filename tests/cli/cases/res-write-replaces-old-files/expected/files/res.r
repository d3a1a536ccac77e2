read 'PNGI' (10000, "a") "a.png";
