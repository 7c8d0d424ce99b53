#include "online/pageserver.h"
