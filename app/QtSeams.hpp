#pragma once

// Connects the message-box and shell seams of the lower layers to real Qt dialogs and the
// desktop's opener. Called once at start-up.
namespace brimtor {

void InstallQtSeams();

// Makes LogError append to the error log file, and tell the user when an entry cannot be written.
void InstallErrorLogFile();

}  // namespace brimtor
