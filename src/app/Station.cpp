#include "app/Station.h"

#include "platform/EventPump.h"
#include "sound/psk31/Psk31SoundLibrary.h"

Station::Station(ProgramState& programState, const StationPlatform& parts)
    : state(programState),
      platform(parts),
      log(state, platform.window, platform.clock, platform.pump),
      waits(platform.pump, state.timerTick, state.morseTick),
      ownPsk(platform.psk ? nullptr
                          : std::make_unique<Psk31SoundLibrary>(log, platform.pump, MorseKeyer::PatternFor,
                                                                platform.soundDevices)),
      psk(platform.psk ? *platform.psk : *ownPsk),
      line(state, platform.serialDriver, log, platform.window, platform.exitProgram),
      router(state, log, waits, psk, line),
      serialMenus(state, line, psk, log, platform.window),
      macros(state, router, platform.clock, encoder),
      encoder(state, log, router, macros),
      timerControl(state, platform.timers, log, platform.exitProgram),
      morse(waits, line),
      soundMenu(state, platform.window, platform.runSoundSetup),
      modulator(state, platform.window, log, waits, [this] { transmitter.CmRX(); }, platform.soundDevices),
      transmitter({state, log, platform.window, waits, line, psk, router, modulator, soundMenu}),
      session(state, log, platform.window, psk, transmitter),
      files({state, log, platform.window, waits, router, encoder, macros, morse}),
      cwid({state, log, platform.window, waits, psk, transmitter, files, morse, timerControl}),
      standalone(state, transmitter, session, files, cwid),
      queue(state, log, platform.window, platform.clock),
      schedule(state, log, platform.window, queue, platform.clock),
      messages(state, log, platform.window, queue, schedule, session),
      ini(state, log, [this](const std::string& command) { scripts.RunScriptCommand(command); }),
      scripts({state, log, platform.window, serialMenus, line, transmitter, session, cwid, ini, encoder, schedule}),
      framing({state, waits, transmitter, files, timerControl, messages}),
      cycle({state, log, platform.window, platform.clock, platform.poster, queue, scripts, transmitter, session, cwid,
             standalone, framing}),
      controlMenus({state, log, platform.window, waits, line, transmitter, cwid, standalone}),
      recipients(state, log, platform.window),
      network({state, log, platform.window, platform.clock, waits, platform.poster, encoder, router, transmitter, line,
               queue, messages}) {
    timerControl.setClockTick([this] { cycle.ClockTick(); });
}
