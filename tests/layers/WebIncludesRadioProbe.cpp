// A web page reaching across into the radio page beside it.
#include "web/CPromoView.h"
#include "radio/CKestrelRadioView.h"
