#pragma once

// Closes every window of the program, shown or hidden, then ends the event loop so the process
// ends. A call made while another is closing the windows only ends the loop.
void UnloadAllAndEnd();
