#pragma once

#include <QtCore/qglobal.h>

#if defined(TABULIX_LIBRARY)
#define TABULIX_EXPORT Q_DECL_EXPORT
#else
#define TABULIX_EXPORT Q_DECL_IMPORT
#endif
