% A reaction test written the way Psychtoolbox-3 is meant to be used: after a
% random wait of 2 to 4 s a black square is flipped onto the screen; the reaction
% time is the first key press in the keyboard queue (KbQueue's event time) minus
% the flip's stimulus onset time. Prints "rt <ms>" per answer. The window is
% 400x300 at the screen's corner, the square at 100..200 inside it. The keys
% come from the benchmark's XTest keyboard, which Psychtoolbox does not choose by
% itself (it passes over XTest devices): the queue is made on it by name.
more off;
sigterm_dumps_octave_core(false);  % the benchmark ends it with SIGTERM
% A display without vertical retrace (Xvfb) fails the sync tests: PTB_SKIP_SYNC_TESTS=1.
skipSyncTests = str2double(getenv('PTB_SKIP_SYNC_TESTS'));
if isnan(skipSyncTests)
  skipSyncTests = 0;
end
Screen('Preference', 'SkipSyncTests', skipSyncTests);
Screen('Preference', 'VisualDebugLevel', 0);
Screen('Preference', 'Verbosity', 1);
KbName('UnifyKeyNames');
window = Screen('OpenWindow', 0, 255, [0 0 400 300]);
Screen('Flip', window);
[indices, names] = GetKeyboardIndices();
keyboard = indices(find(strcmp(names, 'Virtual core XTEST keyboard'), 1));
KbQueueCreate(keyboard);
KbQueueStart(keyboard);
rand('seed', sum(clock()));
WaitSecs(1);
while true
  WaitSecs(2 + 2 * rand());
  Screen('FillRect', window, 0, [100 100 200 200]);
  KbQueueFlush(keyboard);
  [vbl, onset] = Screen('Flip', window);
  pressed = false;
  while ~pressed
    [pressed, firstPress] = KbQueueCheck(keyboard);
    if ~pressed
      WaitSecs('YieldSecs', 0.0005);
    end
  end
  rt = (min(firstPress(firstPress > 0)) - onset) * 1000;
  printf('rt %.3f\n', rt);
  fflush(stdout);
  Screen('FillRect', window, 255);
  Screen('Flip', window);
end
