// The record of a reading: what the hooks of the evaluator write.
#include "engine/reading_record.h"

#include <cstring>

namespace fexpr::engine {

reading_record* active_reading = nullptr;

// Begins the record of one evaluation. The text fits: the evaluator receives at most
// expression_capacity - 1 characters.
void record_text_now(reading_record& record, const char* text) noexcept {
    std::size_t length = 0;
    while (text[length] != '\0' && length + 1 < expression_capacity) ++length;
    std::memcpy(record.given_text, text, length);
    record.given_text[length] = '\0';
    record.given_length = length;
    record.text = text;
    record.position = 0;
    record.open_event = no_open_event;
    record.event_count = 0;
    record.incomplete = false;
    record.evaluating = true;
}

// A new token ends the operand read before it.
void note_position_now(reading_record& record, const char* position) noexcept {
    record.position = static_cast<std::size_t>(position - record.text);
    if (record.open_event != no_open_event) {
        reading_event& operand = record.events[record.open_event];
        operand.length = static_cast<std::int32_t>(record.position) - operand.start;
        record.open_event = no_open_event;
    }
}

void record_step_now(reading_record& record, const reading_event& event) noexcept {
    if (record.event_count == reading_event_capacity) {
        record.incomplete = true;
        return;
    }
    reading_event& stored = record.events[record.event_count];
    stored = event;
    if (event.step == reading_step::operand) {
        stored.start = static_cast<std::int32_t>(record.position);
        record.open_event = record.event_count;
    }
    ++record.event_count;
}

void withdraw_operand() noexcept {
    reading_record* record = active_reading;
    if (record == nullptr || record->open_event + 1 != record->event_count) return;
    --record->event_count;
    record->open_event = no_open_event;
}

}  // namespace fexpr::engine
