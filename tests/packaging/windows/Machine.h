#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The parts of a Windows machine a setup program changes, read and set by
// the installer tests: registry values (64-bit view), folders and files,
// programs run to their end.
namespace machine {

struct Value {
    bool exists = false;
    DWORD type = REG_NONE;
    std::wstring text;  // REG_SZ / REG_EXPAND_SZ / REG_MULTI_SZ (NULs kept)
    DWORD number = 0;   // REG_DWORD
};

Value Read(HKEY root, const std::wstring& key, const std::wstring& name);
bool KeyExists(HKEY root, const std::wstring& key);
void SetText(HKEY root, const std::wstring& key, const std::wstring& name,
             const std::wstring& value);
void DeleteValue(HKEY root, const std::wstring& key, const std::wstring& name);
void DeleteTree(HKEY root, const std::wstring& key);
// Every value under a key and its subkeys, "subkey\name=type:data" a line.
std::wstring Dump(HKEY root, const std::wstring& key);

bool FileExists(const std::wstring& path);
std::string Bytes(const std::wstring& path);
FILETIME WriteTime(const std::wstring& path);
void SetWriteTime(const std::wstring& path, const FILETIME& time);
// Names in a folder, sorted; empty when there is no such folder.
std::vector<std::wstring> List(const std::wstring& folder);
// Removes a folder and everything in it.
void RemoveFolder(const std::wstring& folder);

std::wstring ExeFolder();
std::wstring Expand(const std::wstring& text);

struct Run {
    DWORD exitCode = 0xFFFFFFFF;
    std::string output;
};
// Runs a command line to its end and returns its exit code and standard
// output. With `descendants`, also waits for the processes it started (an
// uninstaller that hands over to a copy of itself).
Run Start(const std::wstring& commandLine, bool descendants = false);

std::string Narrow(const std::wstring& text);
std::wstring Widen(const std::string& text);

}  // namespace machine
