#define _My_Icon2_ID	10000
#define _My_Icon2_NAME	"say \"hi\" café"
#define _My_Icon2_FILE	"my images/icon-1.2_x.png"
#define CU_ID	10001
#define CU_NAME	"ĉu"
#define CU_FILE	"données/ĉu.png"
#define DING_ID	10100
#define DING_NAME	"Ding dong"
#define DING_FILE	"sound.bin"
