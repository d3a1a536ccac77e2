read 'PNGI' (10000, "x") "a/x.png";
read 'PNGI' (10003, "x") "b/x.png";
data 'PNGI' (10002) {
	$"00"
};

data 'PNGI' (10004) {
	$"01"
};

read 'PNGI' (10001, "x@2x") "x@2x.png";
