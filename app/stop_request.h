#pragma once

namespace pistavox {

// Stop requests from outside the window (Ctrl+C, a closed console or terminal, a termination
// signal), caught so that the frame loop ends in the orderly shutdown instead of the process dying.
void InstallStopRequestHandlers();
bool StopRequested();

}  // namespace pistavox
