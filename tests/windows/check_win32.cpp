// The Windows platform's Win32 calls, run on Windows or under Wine by scripts/check-windows:
//
//     check_win32.exe SAMPLES
//
// SAMPLES is a folder written by halvornsync_pe_samples. Prints one line per check and exits
// with the number of failed checks.

#include "platform/Win32.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <windows.h>

namespace {

int failures = 0;

std::wstring wide(const std::string &utf8)
{
    std::wstring text(utf8.size(), L'\0');
    text.resize(std::size_t(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()),
                                                text.data(), int(text.size()))));
    return text;
}

// UTF-8 on standard output whatever the console's code page, so the script shows the names.
void check(bool passed, const std::wstring &what)
{
    const std::wstring line = (passed ? L"ok   " : L"FAIL ") + what + L'\n';
    std::string utf8(4 * line.size(), '\0');
    utf8.resize(std::size_t(WideCharToMultiByte(CP_UTF8, 0, line.data(), int(line.size()),
                                                utf8.data(), int(utf8.size()), nullptr, nullptr)));
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    failures += passed ? 0 : 1;
}

// As the portable reader writes it: major.minor.build, or "none".
std::wstring text(const std::optional<Win32::FileVersion> &version)
{
    return !version ? L"none"
                    : std::to_wstring(version->mostSignificant >> 16) + L'.' +
                          std::to_wstring(version->mostSignificant & 0xFFFF) + L'.' +
                          std::to_wstring(version->leastSignificant >> 16);
}

void fileVersionsAgreeWithThePortableReader(const std::wstring &samples)
{
    std::ifstream expected((samples + L"\\expected.txt").c_str(), std::ios::binary);
    check(expected.good(), L"the samples' expected.txt opens");
    int files = 0;
    for (std::string line; std::getline(expected, line);) {
        const std::size_t tab = line.find('\t');
        if (tab != std::string::npos) {
            const std::wstring name = wide(line.substr(0, tab));
            const std::wstring portable = wide(line.substr(tab + 1));
            const std::wstring windows = text(Win32::fileVersion(samples + L'\\' + name));
            check(windows == portable, L"file version of \"" + name + L"\": Windows " + windows +
                                           L", portable " + portable);
            ++files;
        }
    }
    check(files >= 5, L"the samples list their files");
}

void detailIsWrittenOnlyIntoBaseCampsOwnKey()
{
    const wchar_t *const settings = L"Software\\Garmin\\BaseCamp\\Settings";
    HKEY key = nullptr;
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Garmin");
    check(Win32::writeBaseCampDetail() == Win32::DetailWrite::NoBaseCampKey,
          L"without BaseCamp's key the Detail value is not written");
    check(RegOpenKeyExW(HKEY_CURRENT_USER, settings, 0, KEY_READ, &key) != ERROR_SUCCESS,
          L"a missing BaseCamp key is not created");

    RegCreateKeyExW(HKEY_CURRENT_USER, settings, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    check(Win32::writeBaseCampDetail() == Win32::DetailWrite::Written,
          L"with BaseCamp's key the Detail value is written");
    DWORD type = 0;
    BYTE value[8] = {};
    DWORD size = sizeof value;
    const LSTATUS read = RegQueryValueExW(key, L"Detail", nullptr, &type, value, &size);
    check(read == ERROR_SUCCESS && type == REG_BINARY && size == 4 &&
              std::memcmp(value, "\7\0\0\0", 4) == 0,
          L"Detail is REG_BINARY 07 00 00 00");
    RegCloseKey(key);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Garmin");
}

void fixedAndMissingDrivesAreNoCards()
{
    check(!Win32::isRemovableDrive(L"C:\\"), L"the system drive is not a card");
    // A letter that names no drive, and a root that is no drive at all.
    std::wstring unused = L"?:\\";
    for (wchar_t letter = L'Z'; letter > L'C' && unused[0] == L'?'; --letter) {
        if (!(GetLogicalDrives() & (1u << (letter - L'A')))) {
            unused[0] = letter;
        }
    }
    check(!Win32::isRemovableDrive(unused) && !Win32::isRemovableDrive(L""),
          L"no drive, no card: " + unused);
    // What recognises a card again when it comes back with a safety copy waiting for it.
    check(Win32::volumeSerial(L"C:\\").has_value() && !Win32::volumeSerial(unused),
          L"a drive's serial number is read, none for no drive");
}

void unbufferedReadsGiveTheFile(const std::wstring &samples)
{
    // Not a whole number of sectors or of blocks, so the last read is a short one.
    std::string content(3 * (1 << 20) + 1234, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) {
        content[i] = char((i * 7919) >> 3);
    }
    const std::wstring path = samples + L"\\Användare Ωμέγα\\gmapsupp.img";
    std::ofstream(path.c_str(), std::ios::binary)
        .write(content.data(), std::streamsize(content.size()));
    std::string got;
    int blocks = 0;
    // The reader goes on after each block when `onwards`.
    const auto readAll = [&](bool onwards) {
        return Win32::readUnbuffered(path, [&](const char *data, std::size_t size) {
            got.append(data, size);
            ++blocks;
            return onwards;
        });
    };
    check(readAll(true) == Win32::MediumRead::Complete && got == content,
          L"an unbuffered read gives the whole file, byte for byte");
    blocks = 0;
    check(readAll(false) == Win32::MediumRead::Stopped && blocks == 1,
          L"the reader can stop the read");
    check(Win32::readUnbuffered(samples + L"\\missing.img",
                                [](const char *, std::size_t) { return true; }) ==
              Win32::MediumRead::NotOpened,
          L"a missing file is not opened");
    check(Win32::flushFile(path) && Win32::flushFolder(samples + L"\\Användare Ωμέγα"),
          L"a written file and its folder are flushed to the disk");
    check(!Win32::flushFile(samples + L"\\missing.img"), L"a missing file is not flushed");
}

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    if (argc != 2) {
        std::fputs("usage: check_win32 SAMPLES\n", stdout);
        return 2;
    }
    fileVersionsAgreeWithThePortableReader(argv[1]);
    detailIsWrittenOnlyIntoBaseCampsOwnKey();
    check(Win32::preventSleep(), L"the request to stay awake is accepted");
    check(Win32::allowSleep(), L"the request is withdrawn");
    fixedAndMissingDrivesAreNoCards();
    unbufferedReadsGiveTheFile(argv[1]);
    const std::wstring taskkill = Win32::systemFolder() + L"\\taskkill.exe";
    check(GetFileAttributesW(taskkill.c_str()) != INVALID_FILE_ATTRIBUTES,
          L"taskkill is in the system folder: " + taskkill);
    std::printf("%d failed\n", failures);
    return failures;
}
