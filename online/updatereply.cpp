#include "online/updatereply.h"
