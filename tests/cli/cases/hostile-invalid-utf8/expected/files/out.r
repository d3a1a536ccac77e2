read 'PNGI' (12001, "ÿþ") "img/Ã( .png";
data 'RAWD' (10001) {
	$"0a"
};

