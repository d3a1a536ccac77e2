read 'PNGI' (10001, "a") "img/a.png";
read 'SVG_' (10000, "BC") "art/b.svg";
