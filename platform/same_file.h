// Whether two paths name one file, whatever their spelling (links, "..", case, separators).
#pragma once

// 1 when both paths name one file: spelled alike (as the system compares names, so even a file not
// there yet), or both files exist and are the same file; 0 otherwise.
int IsSameFile(const char* firstPath, const char* secondPath);
