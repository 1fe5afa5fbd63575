#pragma once

// The program's name: its windows' captions and title, Qt's application name,
// and the documents its word processor writes all show it.
namespace platform {

inline constexpr char kProductName[] = "Corvalin";
// The command it is run by, which also marks the files and folders it makes.
inline constexpr char kCommandName[] = "corvalin";

}  // namespace platform
