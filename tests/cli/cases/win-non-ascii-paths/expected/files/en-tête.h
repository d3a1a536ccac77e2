#define MON_IMAGE_ID	12345
#define MON_IMAGE_NAME	"Mon_Image"
#define MON_IMAGE_FILE	"images/icône.png"
