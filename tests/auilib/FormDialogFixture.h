#pragma once

// Dialogs built from the plain fixture forms, enciphered at test time into a working directory of
// their own; windows that closed or lost their dialog are deleted before the next test.
#include "Dialog.h"
#include "LanguageFolder.h"

#include <QCoreApplication>
#include <QEvent>

#include <string>

class FormDialogTest : public LanguageFolderTest
{
protected:
    void TearDown() override
    {
        FlushDeletes();
        LanguageFolderTest::TearDown();
    }

    static void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // The fixture as the module's enciphered form; its path.
    std::wstring PlaceForm(const char* fixture, const char* module = "forms")
    {
        const QString relative = QStringLiteral("auiresources/%1/ui/%2.zr").arg(QString::fromUtf8(module),
                                                                                 QString::fromUtf8(fixture));
        return Place(relative, Fixture(fixture), true).toStdWString();
    }
};
