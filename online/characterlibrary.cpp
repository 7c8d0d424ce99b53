#include "online/characterlibrary.h"
