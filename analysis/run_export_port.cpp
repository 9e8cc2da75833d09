// The run windows' export port: one for the program's life, set by the main window.
#include "analysis/run_export_port.h"

namespace zarvo {

namespace {
RunExportPort* gRunExportPort = nullptr;
}  // namespace

void SetRunExportPort(RunExportPort* port) {
  gRunExportPort = port;
}

RunExportPort* CurrentRunExportPort() {
  return gRunExportPort;
}

}  // namespace zarvo
