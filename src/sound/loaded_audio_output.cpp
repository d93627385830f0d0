#include "sound/loaded_audio_output.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QStringList>

namespace zorvik {

namespace {

using Entry = AudioOutput *(*)();

// Where the module is looked for: beside an installed program first, then (unless built for a
// package) in the build tree.
QStringList candidates()
{
    QStringList paths;
    if (QCoreApplication::instance())
        paths << QDir(QCoreApplication::applicationDirPath())
                     .filePath(QStringLiteral(ZORVIK_AUDIO_MODULE_FROM_BINDIR));
#ifdef ZORVIK_AUDIO_MODULE_BUILT
    paths << QStringLiteral(ZORVIK_AUDIO_MODULE_BUILT);
#endif
    return paths;
}

} // namespace


LoadedAudioOutput::~LoadedAudioOutput()
{
    shutDown();
}

AudioOutput *LoadedAudioOutput::output()
{
    if (m_tried)
        return m_output.get();
    m_tried = true;
    for (const QString &path : candidates()) {
        QLibrary library(path);
        // Never unloaded: the output's code runs until the end of the process.
        library.setLoadHints(QLibrary::PreventUnloadHint);
        if (!library.load())
            continue;
        if (const auto entry = reinterpret_cast<Entry>(library.resolve("zorvik_audio_output_create"))) {
            m_output.reset(entry());
            if (m_output)
                break;
        }
    }
    return m_output.get();
}

void LoadedAudioOutput::shutDown()
{
    // Not loaded yet: nothing to end, and nothing loaded later.
    m_tried = true;
    if (m_output)
        m_output->shutDown();
}

std::unique_ptr<AudioPlayer> LoadedAudioOutput::createPlayer(Wave wave)
{
    AudioOutput *real = output();
    return real ? real->createPlayer(std::move(wave)) : nullptr;
}

} // namespace zorvik
