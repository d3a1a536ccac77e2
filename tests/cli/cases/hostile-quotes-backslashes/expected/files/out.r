read 'PNGI' (10000, "my \"q\" file") "C:\\dir\\my "q" file.png";
read 'SVG_' (10000, "\"b\\\"") "a/"b\\".svg";
