#define LINE_ID	10001
#define LINE_NAME	"x\\ny"
#define LINE_FILE	"art/x\\ny.png"
