// The radio page reaching for the media library directly.
#include <mpv/client.h>
