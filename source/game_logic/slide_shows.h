// The two slide shows of the object manager as the game plays them: the
// start-up splash (studio, team, game; played once) and the credits roll
// (game, team, then the scrolling credits; repeating).
//
// Main thread (adding a slide loads its picture through the resource store).
#pragma once

class SplashScreen;

// Appends the start-up slides to `splash` and the credits to `credits`, and
// sets whether each repeats. Called once, on shows that are still empty.
void FillSlideShows(SplashScreen& splash, SplashScreen& credits);
