read 'PNGI' (10001, "x\\ny") "art/x\\ny.png";
read 'PNGI' (10000, "logo") "C:\\art\\logo.PNG";
