#include "cursor.h"

CCursor::CCursor() {}

CCursor::~CCursor() {}
