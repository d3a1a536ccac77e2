read 'PNGI' (10000, "say \"hi\" café") "my images/icon-1.2_x.png";
read 'PNGI' (10001, "ĉu") "données/ĉu.png";
read 'snd ' (10100, "Ding dong") "sound.bin";
