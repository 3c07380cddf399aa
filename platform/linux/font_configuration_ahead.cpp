#include "platform/linux/font_configuration_ahead.h"

#include <fontconfig/fontconfig.h>

namespace velandri {

FontConfigurationAhead::FontConfigurationAhead() : reader_([] { FcInit(); }) {}

}  // namespace velandri
