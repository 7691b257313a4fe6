#include "actions/DisplayPower.h"

#include <QCoreApplication>

#include <map>
#include <vector>

namespace {

// The ways that report the display off, in the order they are tried. Mutter
// goes first: where it runs, it owns the outputs.
std::vector<DisplayWay> confirmingWays(DisplayServer server)
{
    switch (server) {
    case DisplayServer::Wayland:
        return {DisplayWay::Mutter, DisplayWay::KWinDpms, DisplayWay::WlrOutputPower};
    case DisplayServer::X11:
        return {DisplayWay::Mutter, DisplayWay::X11Dpms};
    case DisplayServer::NoServer:
        break;
    }
    return {DisplayWay::Mutter};
}

// Every text here is looked up in the catalogue of the "DisplayPower"
// context; the clauses are whole, so each language can join them its own way.
QString translated(const char *text)
{
    return QCoreApplication::translate("DisplayPower", text);
}

using Findings = std::map<DisplayWay, WayFound>;

WayFound found(const Findings &findings, DisplayWay way)
{
    const auto it = findings.find(way);
    return it == findings.end() ? WayFound::Absent : it->second;
}

// Why the display server itself could not do it.
QString why(DisplayServer server, const Findings &findings)
{
    const WayFound kwin = found(findings, DisplayWay::KWinDpms);
    const WayFound wlr = found(findings, DisplayWay::WlrOutputPower);
    const WayFound dpms = found(findings, DisplayWay::X11Dpms);
    switch (server) {
    case DisplayServer::X11:
        if (dpms == WayFound::NotConfirmed)
            return translated(QT_TRANSLATE_NOOP("DisplayPower", "it did not report the display off"));
        return translated(QT_TRANSLATE_NOOP("DisplayPower", "this X server has no display power control"));
    case DisplayServer::Wayland:
        if (kwin == WayFound::Unsupported || wlr == WayFound::Unsupported)
            return translated(QT_TRANSLATE_NOOP("DisplayPower", "it cannot turn its outputs off"));
        if (kwin == WayFound::NotConfirmed || wlr == WayFound::NotConfirmed)
            return translated(QT_TRANSLATE_NOOP("DisplayPower", "it did not report its outputs off"));
        if (found(findings, DisplayWay::Mutter) != WayFound::Absent)
            return translated(QT_TRANSLATE_NOOP("DisplayPower", "it did not report the display off"));
        return translated(QT_TRANSLATE_NOOP("DisplayPower", "this Wayland compositor has no display power control"));
    case DisplayServer::NoServer:
        break;
    }
    return translated(QT_TRANSLATE_NOOP("DisplayPower", "there is no X server or Wayland compositor to ask"));
}

// The first service that was there, as the user knows it.
QString there(const Findings &findings)
{
    if (found(findings, DisplayWay::Mutter) != WayFound::Absent)
        return translated(QT_TRANSLATE_NOOP("DisplayPower", "Mutter is running"));
    if (found(findings, DisplayWay::KWinDpms) != WayFound::Absent)
        return translated(QT_TRANSLATE_NOOP("DisplayPower", "KWin is running"));
    if (found(findings, DisplayWay::WlrOutputPower) != WayFound::Absent)
        return translated(QT_TRANSLATE_NOOP("DisplayPower", "A wlroots compositor is running"));
    if (found(findings, DisplayWay::X11Dpms) == WayFound::NotConfirmed)
        return translated(QT_TRANSLATE_NOOP("DisplayPower", "The X server has display power control"));
    if (found(findings, DisplayWay::PowerDevil) != WayFound::Absent)
        return translated(QT_TRANSLATE_NOOP("DisplayPower", "PowerDevil is running"));
    return QString();
}

} // namespace

DisplayPower::DisplayPower(DisplayWays &ways)
    : m_ways(ways)
{
}

int DisplayPower::turnOff()
{
    m_failure.clear();
    const DisplayServer server = m_ways.server();
    Findings findings;
    bool confirmable = false;
    for (DisplayWay way : confirmingWays(server)) {
        const WayFound result = m_ways.turnOff(way);
        if (result == WayFound::Done)
            return 0;
        findings[way] = result;
        confirmable = confirmable || result == WayFound::NotConfirmed;
    }
    // PowerDevil turns the display off through the same X server or
    // compositor, so where one of them took the request and left the display
    // on, its shortcut would not do better. Elsewhere it is the last chance,
    // but nothing can tell whether the screen went off.
    if (!confirmable && m_ways.ask(DisplayWay::PowerDevil) == WayFound::Done) {
        m_ways.turnOff(DisplayWay::PowerDevil);
        findings[DisplayWay::PowerDevil] = WayFound::NotConfirmed;
    }
    const QString service = there(findings);
    if (service.isEmpty()) {
        //: %1 says why, as "this X server has no display power control".
        m_failure = translated(QT_TRANSLATE_NOOP("DisplayPower", "There is no way to turn the display off here: %1."))
                        .arg(why(server, findings));
    } else {
        //: %1 names a service, %2 says why it could not: "Mutter is running, but this X server has no display
        //: power control."
        m_failure = translated(QT_TRANSLATE_NOOP("DisplayPower", "%1, but %2.")).arg(service, why(server, findings));
    }
    return NoService;
}

bool DisplayPower::canTurnOff()
{
    // On X11 every way ends at the X server's DPMS (Mutter's too, whose
    // property reads 0 there until its first write, DPMS or not).
    const DisplayServer server = m_ways.server();
    if (server == DisplayServer::X11)
        return m_ways.ask(DisplayWay::X11Dpms) == WayFound::Done;
    for (DisplayWay way : confirmingWays(server)) {
        if (m_ways.ask(way) == WayFound::Done)
            return true;
    }
    return false;
}
