// The exit codes every command-line tool of the project gives, so scripts can treat them alike.
#pragma once

enum ToolExit { kToolOk = 0, kToolFailed = 1, kToolUsage = 2 };
