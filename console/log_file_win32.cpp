// Log files of the text windows. Logging is not built yet: no window ever
// starts a log, so there is nothing to close.
#include "shell/shell_win32.h"

void TAV_CloseAllLogs(void) {}
