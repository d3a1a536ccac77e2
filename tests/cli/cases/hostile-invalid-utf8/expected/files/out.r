read 'PNGI' (12001, "ÿþ") "img/Ã( .png";
data 'â‚' (10001) {
	$"0a"
};

