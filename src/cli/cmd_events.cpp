#include <cstdio>
#include <filesystem>
#include <string>

#include "app/day_plan.h"
#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/json_writer.h"
#include "config/settings.h"
#include "core/calendar.h"
#include "core/sun.h"

namespace miravel::cli {

namespace {

const char* KindName(EffectKind kind) {
    switch (kind) {
        case EffectKind::PlayAdhan:
            return "ezan";
        case EffectKind::PlayFile:
            return "salâ";
        case EffectKind::Notice:
            return "uyarı";
        case EffectKind::Reminder:
            return "hatırlatma";
        case EffectKind::ReligiousDay:
            return "dini gün";
        case EffectKind::SyncClock:
            return "saat düzeltme";
        case EffectKind::ArmWake:
            return "uyandırma";
        default:
            return "";
    }
}

const char* JsonKind(EffectKind kind) {
    switch (kind) {
        case EffectKind::PlayAdhan:
            return "adhan";
        case EffectKind::PlayFile:
            return "sound";
        case EffectKind::Notice:
            return "notice";
        case EffectKind::Reminder:
            return "reminder";
        case EffectKind::ReligiousDay:
            return "religiousDay";
        case EffectKind::SyncClock:
            return "clockCorrection";
        case EffectKind::ArmWake:
            return "wake";
        default:
            return "";
    }
}

std::string WakeText(int64_t fileTime) {
    const WorkTime t = FromLocalFileTime(fileTime);
    char text[48];
    std::snprintf(text, sizeof text, "%02u/%02u/%04u %02u:%02u:%02u", t.day, t.month, t.year,
                  t.hour, t.minute, t.second);
    return text;
}

}  // namespace

namespace {
constexpr OptionHelp kEventsOptions[] = {
    kDateOptionHelp,
    kJsonOptionHelp,
};
}  // namespace

const CommandHelp kEventsHelp = {
    "events",
    "[OPTIONS]",
    "what the program does on one day: adhans, salas, reminders",
    "The options of the INI file (section Seçenekler) decide the sounds and\n"
    "reminders.",
    kEventsOptions,
    kPlaceOptionHelp};

int RunEvents(int argc, char** argv) {
    Args args(PlaceDayFlags(), {"--summer", "--json"});
    Date date;
    if (!ParseDayCommand(args, argc, argv, "events", &date)) return 2;
    std::string error;
    ProgramState ps;
    std::filesystem::path ini;
    if (!LoadPlaceAndOptions(args, ps, &ini, &error)) {
        PrintError(error);
        return 2;
    }
    std::string marker;
    if (!ini.empty()) {
        LoadStartupSwitches(ps, ini);
        LoadAdhanFiles(ps, ini);
        marker = ReadLastReligiousDay(ini);
    }

    // The system's summer flag as it will be on that date.
    SystemZone zone = ReadSystemZone();
    zone.daylightNow = SummerTimeRule(date.day, date.month, date.year, ps.location.latitude < 0);
    const DayPlan plan = PlanDay(ps, date.day, date.month, date.year, zone, marker);

    const std::string dateText = DateText(date);

    if (args.Has("--json")) {
        JsonWriter json;
        json.BeginObject().String("date", IsoDateText(date));
        PlaceJson(json, ps.location, plan.zone);
        TimesJson(json, plan.dayTimes);
        json.BeginArray("events");
        for (const EffectRecord& e : plan.events) {
            json.BeginObject().String("time", ClockText(e.minute)).String("kind", JsonKind(e.kind));
            switch (e.kind) {
                case EffectKind::PlayAdhan:
                    json.Int("slot", e.number).String("name", AdhanSlotName(ps, e.number));
                    json.String("file", ps.adhanFiles[e.number]);
                    break;
                case EffectKind::PlayFile:
                    json.String("file", e.text);
                    break;
                case EffectKind::Reminder:
                    json.String("ending", EndingTimeName(e.number)).Int("lead", e.value);
                    json.String("text", e.text);
                    break;
                case EffectKind::Notice:
                case EffectKind::ReligiousDay:
                    json.String("text", e.text);
                    break;
                case EffectKind::ArmWake:
                    json.String("due", WakeText(e.value));
                    break;
                default:
                    break;
            }
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
        PrintUtf8(json.Text());
        return 0;
    }

    std::string out =
        PlaceTitle(ps, args.Value("--lat") != nullptr) + "  " + dateText + " " +
        WeekdayName(static_cast<int16_t>(WeekdayOf(date.day, date.month, date.year))) + "\n";
    for (const EffectRecord& e : plan.events) {
        std::string what = e.kind == EffectKind::ArmWake ? WakeText(e.value) : e.text;
        char line[400];
        std::snprintf(line, sizeof line, "%s  %-13s %s\n", ClockText(e.minute).c_str(),
                      KindName(e.kind), what.c_str());
        out += line;
    }
    PrintText(out);
    return 0;
}

}  // namespace miravel::cli
