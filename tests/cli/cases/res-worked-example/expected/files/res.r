read 'PNGI' (12345, "My_Image") "images/icon.png";
data 'PNGI' (12346) {
	$"8950 4E47 0D0A 1A0A 0000 000D 4948 4452"
	$"0000"
};

read 'SVG_' (12400, "Logo") "art/logo.svg";
