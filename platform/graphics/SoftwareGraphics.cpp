#include "platform/graphics/SoftwareGraphics.h"

#include <QByteArray>
#include <QtGlobal>

namespace {
constexpr char kXcbOpenGLIntegrationVariable[] = "QT_XCB_GL_INTEGRATION";
}

void PrepareSoftwareGraphics()
{
    if (!qEnvironmentVariableIsSet(kXcbOpenGLIntegrationVariable))
        qputenv(kXcbOpenGLIntegrationVariable, QByteArrayLiteral("none"));
}
