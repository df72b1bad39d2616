#include "words/about_words.h"

#include <QCoreApplication>

namespace velmorandi::words {

namespace {

class About {
    Q_DECLARE_TR_FUNCTIONS(About)
};

} // namespace

QString aboutText() {
    return About::tr("Velmorandi is a bulk file rename utility.") + QStringLiteral("\r\n") +
           About::tr("It reshapes the names of all the files in a folder at once and renames them "
                     "in one step.");
}

QString authorText() {
    return About::tr("Designed & Developed by") + QStringLiteral("\r\nOmbrix\r\nTallowmere");
}

QString descriptionText(const QString& version) {
    return About::tr("Velmorandi renames the files of a folder in bulk, shaping every name at "
                     "once. This release is %1 and is featured with (a) find and replace, (b) "
                     "change case, (c) add string, (d) serialize and (e) trim. Even though it has "
                     "been tested for all known issues, the user must satisfy its proper testing "
                     "himself/herself before using it. The author or the organisation "
                     "doesn\u2019t take any responsibility for any kind of disaster happens to the "
                     "computer. Any kind of enhancement requested or bug reported will be "
                     "appreciated and will be considered for its new version and next releases. "
                     "Any new utility concept suggested by users will also be taken into "
                     "consideration. ")
        .arg(version);
}

} // namespace velmorandi::words
