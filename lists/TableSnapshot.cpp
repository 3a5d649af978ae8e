#include "TableSnapshot.h"
