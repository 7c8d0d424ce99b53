#include "online/resultstore.h"
