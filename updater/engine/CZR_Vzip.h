#pragma once

#include <QString>

#include <cstdio>

// Unpacks a Vzip package: a 28-byte header (magic, checksum, length N of the LZMA part), one
// LZMA-alone stream holding every file's contents one after another, and an entry table naming
// the files and folders and each file's length. Create one per package.
class CZR_Vzip
{
public:
    // Results of Unzip2.
    enum {
        kUnpacked = 1,
        kNotAPackage = -1,      // the first 4 bytes are not the magic
        kDamaged = -2,          // short header, N beyond the file, or a checksum mismatch
        kCannotOpen = -3,       // the package cannot be opened for reading
        kUnpackFailed = -4,     // temporary files, splitting, decoding, the entry table, or writing
    };

    CZR_Vzip() = default;
    virtual ~CZR_Vzip() = default;

    // A failure takes back what it wrote into the destination; the temporary files go either way.
    int Unzip2(QString& package, QString& destinationFolder);
    // Why the last Unzip2 failed, in words for the log; empty after a success.
    QString failureCause() const { return m_strFailure; }
    // The last Unzip2 failed for want of room (a full disk, a quota, a size limit), not because of
    // the package.
    bool failedForWantOfRoom() const { return m_bFailedForWantOfRoom; }
    // The last Unzip2 failed because of the package itself, not of this system (room, the unpack
    // folder, the temporary files): it would fail again however often it is tried.
    bool failedForThePackage() const { return m_bFailedForThePackage; }
    bool UnzipFileToFile(QString& lzmaFile, QString& outputFile);

    // The checksum table kept in 64-bit entries; only the low 32 bits of each entry count.
    void BuildTable32(unsigned long polynomial, unsigned long table[256]);
    // The same table with every intermediate value reduced to 32 bits.
    void BuildTable64(unsigned long polynomial, unsigned long table[256]);
    unsigned long RunCRC32(const unsigned char* data, unsigned long length, unsigned long polynomial);
    bool MyReadFile(FILE* file, void* buffer, unsigned long n);

private:
    int failed(int result, const QString& cause, bool forWantOfRoom = false, bool forThePackage = true);

    QString m_strFailure;
    bool m_bFailedForWantOfRoom = false;
    bool m_bFailedForThePackage = false;
};
