#pragma once

class QString;

namespace UtilsLib {

// The client's lines for whoever watches its console, besides the trace log.
// Written as they are, never through a shell, so quotes or other shell syntax
// in a text are printed, not run.
void writeConsoleLine(const QString &line);
// The same on standard error, for what went wrong outside any traced object.
void writeErrorLine(const QString &line);

} // namespace UtilsLib
