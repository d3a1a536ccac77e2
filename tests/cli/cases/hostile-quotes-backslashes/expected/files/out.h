#define Q_ID	10000
#define Q_NAME	"my "q" file"
#define Q_FILE	"C:\\dir\\my "q" file.png"
