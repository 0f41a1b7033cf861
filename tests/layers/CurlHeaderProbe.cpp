// A download written against libcurl outside platform/.
#include <curl/curl.h>
