#pragma once

// Counts the QObjects alive in the process through Qt's object hooks (the ones debuggers
// and inspectors use), to tell a leak from memory that is merely reused.

#include <QMutex>
#include <QObject>

#include <algorithm>
#include <unordered_set>

extern quintptr Q_CORE_EXPORT qtHookData[];

namespace zorvik::testing {

class ObjectCensus {
public:
    // Call before the objects of interest are created; stays installed for the process.
    static void install()
    {
        qtHookData[3] = reinterpret_cast<quintptr>(&added);   // QHooks::AddQObject
        qtHookData[4] = reinterpret_cast<quintptr>(&removed); // QHooks::RemoveQObject
    }

    // Objects alive, or only those whose class inherits the given one; then call it when no
    // object is being built or torn down on this thread.
    static qsizetype alive(const char *className = nullptr)
    {
        QMutexLocker lock(&s_mutex);
        return std::count_if(s_objects.begin(), s_objects.end(),
                             [className](QObject *object) { return !className || object->inherits(className); });
    }

private:
    static void added(QObject *object)
    {
        QMutexLocker lock(&s_mutex);
        s_objects.insert(object);
    }
    static void removed(QObject *object)
    {
        QMutexLocker lock(&s_mutex);
        s_objects.erase(object);
    }
    static inline QMutex s_mutex;
    static inline std::unordered_set<QObject *> s_objects;
};

} // namespace zorvik::testing
