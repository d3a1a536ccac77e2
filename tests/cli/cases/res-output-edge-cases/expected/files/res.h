#define EMPTY_DATA_ID	10000
#define EMPTY_DATA_NAME	"ed"
#define EMPTY_FILE_ID	10001
#define Q_ID	10000
#define Q_NAME	"say \"hi\" ab"
#define Q_FILE	"art/quote.svg"
