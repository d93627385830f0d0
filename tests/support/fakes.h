#pragma once

// Stand-ins for the game's services, so that it runs in tests without a window, a clock, a
// sound card or chance.

#include "game/game.h"
#include "services/announcer.h"
#include "services/clock.h"
#include "services/random_source.h"
#include "services/settings.h"
#include "services/settings_store.h"
#include "services/ticker.h"
#include "sound/audio_output.h"

#include <QHash>
#include <QStringList>

#include <deque>
#include <memory>
#include <vector>

namespace zorvik::testing {

class FakeClock final : public Clock {
public:
    double now() const override { return t; }
    double t = 1000.0;
};

// A ticker whose timers fire only when the test says so.
class ManualTicker final : public Ticker {
public:
    class Timer final : public RepeatingTimer {
    public:
        Timer(ManualTicker &ticker, Action action) : ticker(&ticker), action(std::move(action)) {}
        void invalidate() override
        {
            if (ManualTicker *held = std::exchange(ticker, nullptr))
                std::erase_if(held->m_timers, [this](const auto &timer) { return timer.get() == this; });
        }
        bool isValid() const override { return ticker != nullptr; }
        ManualTicker *ticker;
        Action action;
    };

    std::shared_ptr<RepeatingTimer> schedule(double, Action action) override
    {
        return m_timers.emplace_back(std::make_shared<Timer>(*this, std::move(action)));
    }
    // Fires every live timer once; the copy keeps a timer alive while its action drops it.
    void fire()
    {
        for (const auto &timer : std::vector(m_timers))
            if (timer->ticker)
                timer->action(*timer);
    }
    int liveTimers() const { return static_cast<int>(m_timers.size()); }

private:
    std::vector<std::shared_ptr<Timer>> m_timers;
};

// Hands out the given words in order, then one that lands on index 18 below 37.
class ScriptedRandom final : public RandomSource {
public:
    std::uint64_t next64() override
    {
        if (words.empty())
            return 0x8000000000000000ULL;
        const std::uint64_t word = words.front();
        words.pop_front();
        return word;
    }
    // A word whose draw below 37 lands on index, well clear of the rejection zone.
    static std::uint64_t wordFor(std::uint64_t index)
    {
        __extension__ typedef unsigned __int128 Wide;
        return static_cast<std::uint64_t>(((static_cast<Wide>(index) << 64) + (static_cast<Wide>(1) << 63)) / 37);
    }
    std::deque<std::uint64_t> words;
};

class RecordingAnnouncer final : public Announcer {
public:
    void announce(const QString &message) override { messages.append(message); }
    QStringList messages;
};

class MemorySettings final : public SettingsStore {
public:
    QVariant value(const QString &key) const override { return values.value(key); }
    void setValue(const QString &key, const QVariant &value) override { values.insert(key, value); }
    void remove(const QString &key) override { values.remove(key); }
    QHash<QString, QVariant> values;
};

// Players that write what is asked of them into one shared log.
class RecordingAudioOutput final : public AudioOutput {
public:
    class Player final : public AudioPlayer {
    public:
        explicit Player(RecordingAudioOutput &output) : m_output(output) { ++m_output.alive; }
        ~Player() override { --m_output.alive; }
        void setVolume(float volume, double) override
        {
            m_output.volumes.push_back(volume);
            m_output.events.append(QStringLiteral("volume"));
        }
        void prepareToPlay() override { m_output.events.append(QStringLiteral("prepare")); }
        void play() override { m_output.events.append(QStringLiteral("play")); }
        void stop() override { m_output.events.append(QStringLiteral("stop")); }

    private:
        RecordingAudioOutput &m_output;
    };

    std::unique_ptr<AudioPlayer> createPlayer(Wave wave) override
    {
        wavSizes.push_back(wave().size());
        events.append(refuse ? QStringLiteral("refused") : QStringLiteral("create"));
        return refuse ? nullptr : std::make_unique<Player>(*this);
    }

    bool refuse = false;
    int alive = 0;
    QStringList events;
    std::vector<float> volumes;
    std::vector<qsizetype> wavSizes;
};

// One of each stand-in, ready to hand to a Game.
struct Fakes {
    FakeClock clock;
    ManualTicker ticker;
    ScriptedRandom random;
    RecordingAnnouncer announcer;
    MemorySettings settings;
    RecordingAudioOutput output;
    Settings typedSettings{settings};

    GameServices services() { return {clock, ticker, random, announcer, typedSettings, output}; }
};

} // namespace zorvik::testing
