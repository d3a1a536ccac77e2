#define A_ID	10001
#define A_NAME	"a"
#define A_FILE	"img/a.png"
