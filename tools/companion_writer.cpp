#include "tools/companion_writer.h"
