#pragma once

#include "platform/filedialog.h"

namespace shell {

// What the file chooser is asked for by the Create and Open commands.
platform::FileDialogRequest createDatabaseRequest();
platform::FileDialogRequest openDatabaseRequest();

} // namespace shell
