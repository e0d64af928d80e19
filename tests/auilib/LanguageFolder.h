#pragma once

// A working directory of the library's own, with language files laid out as the library looks
// for them; the language, the working directory and the translator are put back afterwards.
#include "AUILibConfig.h"
#include "EncipheredFile.h"
#include "Translator.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class LanguageFolderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        AUILib::SetWorkingDirPath(m_folder.path().toStdWString() + L"/");
    }

    void TearDown() override
    {
        AUILib::SetCurrentLanguage(L"xx-RESET", true);
        AUILib::SetCurrentLanguage(m_language, m_encrypted);
        AUILib::SetWorkingDirPath(m_workingDirectory);
        AUILib::Translator::GetInstance().ResetStringsTable();
        *AUILib::GetFontInfo() = m_font;
        QLocale::setDefault(m_locale);
    }

    // Switches to `language` (always a change, so the file form is taken too).
    static void UseLanguage(const std::wstring& language, bool encrypted)
    {
        AUILib::SetCurrentLanguage(L"xx-SWITCH", encrypted);
        AUILib::SetCurrentLanguage(language, encrypted);
    }

    static QByteArray Fixture(const char* name)
    {
        QFile file(QStringLiteral(AUILIB_TEST_DATA_DIR "/") + QString::fromUtf8(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        return file.readAll();
    }

    // Writes `bytes` at a path relative to the working directory, enciphered when asked to.
    QString Place(const QString& relative, const QByteArray& bytes, bool encipher = false)
    {
        const QString path = m_folder.filePath(relative);
        if (encipher) {
            writeEnciphered(path, bytes);
        } else {
            EXPECT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(bytes);
        }
        return path;
    }

    // Places a file at the path the library builds for it.
    void PlaceAt(const std::wstring& libraryPath, const QByteArray& bytes, bool encipher = false)
    {
        Place(QDir(m_folder.path()).relativeFilePath(QString::fromStdWString(libraryPath)), bytes, encipher);
    }

    QString Path(const QString& relative) const { return m_folder.filePath(relative); }

private:
    QTemporaryDir m_folder;
    QLocale m_locale;
    std::wstring m_language = AUILib::GetCurrentLanguage();
    bool m_encrypted = AUILib::ExpectsEncryptedLanguageFiles();
    std::wstring m_workingDirectory = AUILib::GetWorkingDirPath();
    AUILib::logFont m_font = *AUILib::GetFontInfo();
};
