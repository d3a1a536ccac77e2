data 'DATA' (10000) {
	$"00"
};

