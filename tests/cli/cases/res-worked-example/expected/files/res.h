#define MY_IMAGE_ID	12345
#define MY_IMAGE_NAME	"My_Image"
#define MY_IMAGE_FILE	"images/icon.png"
