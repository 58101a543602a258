#pragma once
// Moved to contact/percent_encoding.h. Only the company server's old form parser still
// includes this name; it goes when that parser gives way to contact/estimate_form.h.
#include "contact/percent_encoding.h"
