// The entry windows' writing road; see entry_road.h.
#include "reference/entry_road.h"

#include "core/enter_chain.h"
#include "core/error_trap.h"
#include "platform/forms/control.h"
#include "platform/forms/services.h"

namespace reference {

using Outcome = KnowledgeRecord::Outcome;

EntryRoad::EntryRoad(Window window, KnowledgeRecord record)
    : window_(std::move(window)),
      record_(std::move(record)),
      writer_(window_.form, window_.trap),
      remover_(window_.form, window_.deleteTrap ? window_.deleteTrap : window_.trap)
{
}

std::optional<Outcome> EntryRoad::run(core::WriteRoutine& writer, Operation operation, Outcome wanted)
{
    std::optional<Outcome> outcome;
    writer.write([&](dao::Database& db) {
        outcome = (record_.*operation)(db);
        return outcome == wanted;
    });
    return outcome;
}

void EntryRoad::resetToKey()
{
    window_.reset();
    window_.keyBox->SetFocus();
}

void EntryRoad::save()
{
    writer_.guarded([this] {
        if (!window_.inputsPass()) return;
        const auto outcome = run(writer_, &KnowledgeRecord::add, Outcome::Added);
        if (outcome == Outcome::Added) resetToKey();
        else if (outcome == Outcome::AlreadyStored) window_.editButton->SetFocus();
    });
}

void EntryRoad::edit()
{
    writer_.guarded([this] {
        if (!window_.inputsPass()) return;
        const auto outcome = run(writer_, &KnowledgeRecord::edit, Outcome::Edited);
        if (outcome == Outcome::Edited) resetToKey();
        else if (outcome == Outcome::NotFound) window_.saveButton->SetFocus();
    });
}

void EntryRoad::remove(const QString& question, const QString& notFoundMessage, DeleteCheck check)
{
    writer_.guarded([&] {
        if (!question.isEmpty() && !core::askedYes(question)) return;
        if (check == DeleteCheck::InputsFirst && !window_.inputsPass()) return;
        const auto outcome = run(remover_, &KnowledgeRecord::remove, Outcome::Deleted);
        if (outcome == Outcome::Deleted) {
            resetToKey();
        } else if (outcome == Outcome::NotFound && !notFoundMessage.isEmpty()) {
            forms::Notice(notFoundMessage);
            window_.keyBox->SetFocus();
        }
        forms::Screen::setMousePointer(forms::vbArrow);
    });
}

void EntryRoad::load(const QString& key)
{
    window_.trap([&] { record_.loadByKey(key); });
}

}  // namespace reference
