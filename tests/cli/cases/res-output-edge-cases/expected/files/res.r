read 'PNGI' (10010, "logo.png") "img/logo.png";
read 'PNGI' (10000, "namePNGI") "img/endsPNGI";
read 'PNGI' (10001) "img/plain.png";
read 'PiPL' (10000, "plug") "plug.rsrc";
data 'RAW' (10002, "d\"q") {
	$"0a0B"
};

read 'SVG_' (10000, "say \"hi\" ab") "art/quote.svg";
read 'SVG_' (10020, "picsvg") "x.svg";
read 'rawd' (10000, "e") "empty-type.bin";
read 'rawd' (10001) "noname.bin";
