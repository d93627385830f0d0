#pragma once

// Counts the QObjects alive in the process through Qt's object hooks (the ones debuggers
// and inspectors use), to tell a leak from memory that is merely reused.

#include <QMutex>
#include <QObject>

#include <unordered_set>

extern quintptr Q_CORE_EXPORT qtHookData[];

namespace zorvik::testing {

class ObjectCensus {
public:
    // Call before the objects of interest are created; stays installed for the process.
    static void install()
    {
        constexpr int addQObject = 3; // QHooks::AddQObject
        constexpr int removeQObject = 4; // QHooks::RemoveQObject
        qtHookData[addQObject] = reinterpret_cast<quintptr>(&added);
        qtHookData[removeQObject] = reinterpret_cast<quintptr>(&removed);
    }

    static qsizetype alive()
    {
        QMutexLocker lock(&mutex());
        return objects().size();
    }

    // Objects alive whose class inherits the given one. Call it when no object is being
    // built or torn down on this thread.
    static qsizetype alive(const char *className)
    {
        QMutexLocker lock(&mutex());
        qsizetype count = 0;
        for (QObject *object : objects())
            count += object->inherits(className) ? 1 : 0;
        return count;
    }

private:
    static void added(QObject *object)
    {
        QMutexLocker lock(&mutex());
        objects().insert(object);
    }
    static void removed(QObject *object)
    {
        QMutexLocker lock(&mutex());
        objects().erase(object);
    }
    static QMutex &mutex()
    {
        static QMutex instance;
        return instance;
    }
    static std::unordered_set<QObject *> &objects()
    {
        static std::unordered_set<QObject *> instance;
        return instance;
    }
};

} // namespace zorvik::testing
