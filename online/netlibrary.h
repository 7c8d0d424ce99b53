#pragma once

namespace quvo {

// Prepares the network library used by the update check and the download, once per process;
// from then on a closed connection ends a transfer, never the program (SIGPIPE is ignored).
// False when it cannot be started; the program then cannot run.
bool StartNetworkLibrary();

}  // namespace quvo
