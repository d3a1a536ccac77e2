#define A_ID	10000
#define A_NAME	"a"
#define A_FILE	"a.png"
