#pragma once
// The game's sound effects, one function per sound; the catalogue gives them their file
// names. Sounds the game loops join seamlessly end to start.
#include "demodata/synth.hpp"

namespace demo::sounds {

using synth::Wave;

// Guns and weapons.
Wave LightShot();       // the quick gun of the arrow ship and the drone ship
Wave HeavyShot();       // the slow, heavy gun of the crimson ship
Wave SpreadShot();      // pod: spread and scatter guns
Wave FragmentShot();    // pod: fragmenting shot
Wave SplitterShot();    // pod: splitting shot
Wave PodLaserLoop();    // pod laser, looped
Wave FlameLoop();       // pod flame stream, looped
Wave TorpedoShot();     // satellite: red torpedo
Wave BounceShot();      // satellite: blue ribbon
Wave SeekerShot();      // satellite: green seeker
Wave BoomerangShot();   // satellite: magenta boomerang
Wave SatelliteLaserLoop();
Wave RocketLaunch();
Wave BombDrop();
Wave NovaShot();
// The beam: charge loops (played slowed down, their pitch rising with the charge) and
// releases.
Wave ChargeLoop(int mode);
Wave BeamRelease(int mode);
// Hits and explosions.
Wave Hit();
Wave Explosion(int size);  // 0 shots and bombs, 1 small enemies, 2 large enemies
Wave ShipExplosion();
Wave Split();
Wave Nova();
Wave Thunder();
// Pick-ups, the ship's devices and the interface.
Wave Pickup();
Wave SpeedUp();
Wave Checkpoint();
Wave ExtraLife();
Wave Respawn();
Wave DockOn();
Wave DockOff();
Wave PodSelect();
Wave PodTurn();
Wave BeamModeSwitch();
Wave PauseChime();
Wave Horn();
Wave Speech();
// Surroundings, looped.
Wave WaterLoop();
Wave RainLoop();
// The first level: its alarm before the gunships, their plasma shot, and the radio
// voices (n = 0, 1, 2: three different messages).
Wave Alarm();
Wave PlasmaShot();
Wave RadioVoice(int n);
// The second level: a sonar ping, the creatures' spore shot and the roar of the great
// fish that guards the cave's end.
Wave SonarPing();
Wave SporeShot();
Wave Roar();

}  // namespace demo::sounds
