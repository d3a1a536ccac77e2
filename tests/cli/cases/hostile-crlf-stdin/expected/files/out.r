read 'PNGI' (10001, "a") "img/a.png";
read 'SVG_' (10000, "BC") "art/b.svg";
