#pragma once

namespace quvo {

// Prepares the network library used by the update check and the download, once per process.
// False when it cannot be started; the program then cannot run.
bool StartNetworkLibrary();

}  // namespace quvo
