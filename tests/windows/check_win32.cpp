// The Windows platform's Win32 calls, run on Windows or under Wine by scripts/check-windows:
//
//     check_win32.exe SAMPLES
//
// SAMPLES is a folder written by halvornsync_pe_samples. Prints one line per check and exits
// with the number of failed checks.

#include "platform/Win32.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include <windows.h>

namespace {

int failures = 0;

std::wstring wide(const std::string &utf8)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring text(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), text.data(), length);
    return text;
}

// UTF-8 on standard output whatever the console's code page, so the script shows the names.
void print(const std::wstring &line)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, line.data(), int(line.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string utf8(std::size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.data(), int(line.size()), utf8.data(), length, nullptr,
                        nullptr);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fputc('\n', stdout);
}

void check(bool passed, const std::wstring &what)
{
    print((passed ? L"ok   " : L"FAIL ") + what);
    failures += passed ? 0 : 1;
}

// As the portable reader writes it: major.minor.build, or "none".
std::wstring text(const std::optional<Win32::FileVersion> &version)
{
    if (!version) {
        return L"none";
    }
    return std::to_wstring(version->mostSignificant >> 16) + L'.' +
           std::to_wstring(version->mostSignificant & 0xFFFF) + L'.' +
           std::to_wstring(version->leastSignificant >> 16);
}

void fileVersionsAgreeWithThePortableReader(const std::wstring &samples)
{
    std::ifstream expected((samples + L"\\expected.txt").c_str(), std::ios::binary);
    check(expected.good(), L"the samples' expected.txt opens");
    std::string line;
    int files = 0;
    while (std::getline(expected, line)) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) {
            continue;
        }
        const std::wstring name = wide(line.substr(0, tab));
        const std::wstring portable = wide(line.substr(tab + 1));
        const std::wstring windows = text(Win32::fileVersion(samples + L'\\' + name));
        check(windows == portable,
              L"file version of \"" + name + L"\": Windows " + windows + L", portable " + portable);
        ++files;
    }
    check(files >= 5, L"the samples list their files");
}

const wchar_t *const kSettings = L"Software\\Garmin\\BaseCamp\\Settings";

bool settingsKeyExists()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettings, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

void detailIsWrittenOnlyIntoBaseCampsOwnKey()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Garmin");
    check(Win32::writeBaseCampDetail() == Win32::DetailWrite::NoBaseCampKey,
          L"without BaseCamp's key the Detail value is not written");
    check(!settingsKeyExists(), L"a missing BaseCamp key is not created");

    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kSettings, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    check(Win32::writeBaseCampDetail() == Win32::DetailWrite::Written,
          L"with BaseCamp's key the Detail value is written");
    DWORD type = 0;
    BYTE value[8] = {};
    DWORD size = sizeof value;
    const LSTATUS read = RegQueryValueExW(key, L"Detail", nullptr, &type, value, &size);
    check(read == ERROR_SUCCESS && type == REG_BINARY && size == 4 && value[0] == 7 &&
              value[1] == 0 && value[2] == 0 && value[3] == 0,
          L"Detail is REG_BINARY 07 00 00 00");
    RegCloseKey(key);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Garmin");
}

void sleepRequestsAreAccepted()
{
    check(Win32::preventSleep(), L"the request to stay awake is accepted");
    check(Win32::allowSleep(), L"the request is withdrawn");
}

void drivesAreAnswered()
{
    wchar_t drives[512] = {};
    const DWORD length = GetLogicalDriveStringsW(DWORD(std::size(drives)), drives);
    std::wstring answers;
    for (const wchar_t *drive = drives; drive < drives + length && *drive;
         drive += wcslen(drive) + 1) {
        answers +=
            std::wstring(drive) + (Win32::isRemovableDrive(drive) ? L" removable  " : L" fixed  ");
    }
    check(length > 0, L"drives answered: " + answers);
    check(!Win32::isRemovableDrive(L"C:\\"), L"the system drive is not a card");
    // A letter that names no drive, and a root that is no drive at all.
    std::wstring unused = L"?:\\";
    for (wchar_t letter = L'Z'; letter > L'C'; --letter) {
        if (!(GetLogicalDrives() & (1u << (letter - L'A')))) {
            unused[0] = letter;
            break;
        }
    }
    check(!Win32::isRemovableDrive(unused) && !Win32::isRemovableDrive(L""),
          L"no drive, no card: " + unused);
}

void unbufferedReadsGiveTheFile(const std::wstring &samples)
{
    // Not a whole number of sectors or of blocks, so the last read is a short one.
    std::string content(3 * (1 << 20) + 1234, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) {
        content[i] = char((i * 7919) >> 3);
    }
    const std::wstring path = samples + L"\\Användare Ωμέγα\\gmapsupp.img";
    {
        std::ofstream file(path.c_str(), std::ios::binary);
        file.write(content.data(), std::streamsize(content.size()));
    }
    std::string read;
    const Win32::MediumRead whole =
        Win32::readUnbuffered(path, [&read](const char *data, std::size_t size) {
            read.append(data, size);
            return true;
        });
    check(whole == Win32::MediumRead::Complete && read == content,
          L"an unbuffered read gives the whole file, byte for byte");

    int blocks = 0;
    const Win32::MediumRead stopped =
        Win32::readUnbuffered(path, [&blocks](const char *, std::size_t) {
            ++blocks;
            return false;
        });
    check(stopped == Win32::MediumRead::Stopped && blocks == 1, L"the reader can stop the read");
    check(Win32::readUnbuffered(samples + L"\\missing.img",
                                [](const char *, std::size_t) { return true; }) ==
              Win32::MediumRead::NotOpened,
          L"a missing file is not opened");
}

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    if (argc != 2) {
        print(L"usage: check_win32 SAMPLES");
        return 2;
    }
    const std::wstring samples = argv[1];
    fileVersionsAgreeWithThePortableReader(samples);
    detailIsWrittenOnlyIntoBaseCampsOwnKey();
    sleepRequestsAreAccepted();
    drivesAreAnswered();
    unbufferedReadsGiveTheFile(samples);
    print(std::to_wstring(failures) + L" failed");
    return failures;
}
