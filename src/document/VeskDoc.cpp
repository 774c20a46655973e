#include "document/VeskDoc.h"

CVeskDoc::CVeskDoc(int timeMillis) : m_nSeed(timeMillis) {}
