// A global hot key grabbed outside platform/.
#include <xcb/xcb.h>
