#include "app/ButtonLayoutResource.h"

#include <QtGlobal>

void initButtonLayoutResource() {
    Q_INIT_RESOURCE(buttons_layout);
}
