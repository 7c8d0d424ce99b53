#include "online/pages.h"
