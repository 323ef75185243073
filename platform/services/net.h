#pragma once

#include <QString>

// Downloading one file from a web address, as the program did with URLDownloadToFile.
namespace net {

// Fetches the address afresh (no cached copy is used) into the target file and answers
// whether it succeeded. Blocks until the transfer ends; window events are painted
// meanwhile, but the user's input waits. An HTTP status outside 200-299 is a failure,
// not a saved error page, and so is a transfer that stays silent for the time-out.
// After a failure the target is as it was before: never a partial file.
bool DownloadToFile(const QString &address, const QString &target);

// How long a transfer may go without receiving anything before it is given up, in ms.
int transferTimeout();
// Tests shorten it; returns the one replaced.
int setTransferTimeout(int ms);

}  // namespace net
