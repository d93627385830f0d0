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


AudioOutput *LoadedAudioOutput::output()
{
    if (m_tried)
        return m_output;
    m_tried = true;
    for (const QString &path : candidates()) {
        QLibrary library(path);
        // Never unloaded: players and sinks made by it live on after the last createPlayer().
        library.setLoadHints(QLibrary::PreventUnloadHint);
        if (!library.load())
            continue;
        if (const auto entry = reinterpret_cast<Entry>(library.resolve("zorvik_audio_output"))) {
            m_output = entry();
            if (m_output)
                break;
        }
    }
    return m_output;
}

std::unique_ptr<AudioPlayer> LoadedAudioOutput::createPlayer(Wave wave)
{
    AudioOutput *real = output();
    return real ? real->createPlayer(std::move(wave)) : nullptr;
}

} // namespace zorvik
