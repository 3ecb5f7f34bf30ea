// Inputs that once crashed or hung the reader or renderer. Each must now load or be
// refused, and play and paint a few frames without fault.

#include "Movie.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TEST(FuzzRegressions, SavedInputsAreHandled)
{
    QDir dir(QStringLiteral(NUMBALI_FUZZ_REGRESSIONS));
    const QStringList files = dir.entryList(QDir::Files);
    int checked = 0;
    for (const QString& name : files) {
        if (name.endsWith(".md"))
            continue;
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(name);
        auto loaded = movie::Movie::fromBytes(f.readAll());
        if (loaded) {
            movie::Movie& m = *loaded.value();
            for (int i = 0; i < 5; ++i)
                m.tick();
            EXPECT_FALSE(m.snapshot(QSize(64, 48)).isNull()) << qPrintable(name);
        } else {
            EXPECT_FALSE(loaded.error().isEmpty()) << qPrintable(name);
        }
        ++checked;
    }
    if (checked == 0)
        GTEST_SKIP() << "no saved fuzz inputs";
}
