#pragma once

#include <QtCore/qglobal.h>

#if defined(VXPLATFORM_LIBRARY)
#define VXPLATFORM_EXPORT Q_DECL_EXPORT
#else
#define VXPLATFORM_EXPORT Q_DECL_IMPORT
#endif
