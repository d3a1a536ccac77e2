read 'PNGI' (10000, "first") "a.png";
