#pragma once

// Start-up and program-wide actions of the application.
namespace brimtor {

// The program: one instance per user (a second start brings the first one's window to the
// front and ends with status 0), the seams connected to Qt, then the main window until the
// last window closes.
int Main(int argc, char* argv[]);

}  // namespace brimtor
