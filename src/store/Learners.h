#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace lexora {

// The children who learn on one user account. Each keeps their records in a folder of the user's
// data folder, named by a fixed id, with their name in a file beside their courses: a rename never
// moves a record, and a name may be anything a parent types.
class Learners
{
public:
    struct Learner
    {
        QString id;
        QString name;
    };

    explicit Learners(QString dataFolder);

    // Every learner, the first one (the one every account starts with) always among them.
    std::vector<Learner> list() const;
    // By name, or by id.
    std::optional<Learner> find(const QString& nameOrId) const;
    std::optional<Learner> add(const QString& name, QString* error);
    bool rename(const QString& id, const QString& name, QString* error);
    // Keeps the learner's folder as a dated backup in the data folder's "removed" folder; the last
    // learner cannot be removed.
    bool remove(const QString& id, QString* error);

    static constexpr auto kFirstId = "default";

private:
    QString folderOf(const QString& id) const;
    std::optional<QString> nameProblem(const QString& name, const QString& except) const;

    QString m_data;
};

} // namespace lexora
