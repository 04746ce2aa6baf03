#pragma once

// Start-up and program-wide actions of the application.
namespace brimtor {

// Opens a new mail message to the maker's support address in the user's mail program.
void OpenEmail();

}  // namespace brimtor
