#include "app/Station.h"

#include "platform/EventPump.h"

Station::Station(ProgramState& programState, const StationPlatform& parts)
    : state(programState),
      platform(parts),
      log(state, platform.window, platform.clock, platform.pump),
      waits(platform.pump, state.timerTick, state.morseTick),
      line(state, platform.serialDriver, log, platform.window, platform.exitProgram),
      router(state, waits, platform.psk, line),
      serialMenus(state, line, platform.psk, log, platform.window),
      encoder(state, log, router, platform.clock),
      timerControl(state, platform.timers, log, platform.exitProgram),
      morse(waits, line),
      transmitter({state, log, platform.window, waits, line, platform.psk, router, platform.modulator}),
      session(state, log, platform.window, platform.psk, transmitter),
      files({state, log, platform.window, waits, platform.psk, router, encoder, morse}),
      cwid({state, log, platform.window, waits, platform.psk, transmitter, files, morse, timerControl}),
      standalone(state, transmitter, session, files, cwid),
      queue(state, log, platform.window, platform.clock),
      schedule(state, log, platform.window, queue, platform.clock),
      messages(state, log, platform.window, queue, schedule, session),
      ini(state, log, [this](const std::string& command) { scripts.RunScriptCommand(command); }),
      scripts({state, log, platform.window, serialMenus, line, transmitter, session, cwid, ini, encoder, schedule}),
      framing({state, waits, transmitter, files, timerControl, messages}),
      cycle({state, log, platform.window, platform.clock, platform.poster, queue, scripts, transmitter, session, cwid,
             standalone, framing}),
      controlMenus({state, log, platform.window, waits, line, transmitter, cwid, standalone}) {
    timerControl.setClockTick([this] { cycle.ClockTick(); });
}
