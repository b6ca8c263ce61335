"""Kinetra's catalogue: exercises, regions, muscle groups, log menu texts and routines.

generate_catalogue.py writes the five property lists of resources/ from this module, and
generate_pictures.py draws every exercise's pictures from it.
"""

import re

TARGETS = ["Abs", "Back", "Biceps", "Calves", "Cardio", "Chest", "Forearms", "Glutes", "Legs",
           "Shoulders", "Triceps"]

MUSCLE_GROUPS = [
    ["Shoulders and Chest", "Deltoids", "Pectoralis", "Rotator Cuff", "Infraspinatus"],
    ["Arms", "Biceps Brachii", "Brachialis", "Triceps Brachii", "Wrist Flexors", "Wrist Extensors"],
    ["Back", "Trapezius", "Latissimus Dorsi", "Lower Back"],
    ["Core", "Rectus Abdominis", "Obliques"],
    ["Hips and Legs", "Glutes", "Quadriceps", "Hamstrings", "Gastrocnemius", "Soleus"],
]

LOG_DATES = ["Today", "Previous Day", "Past 7 Days", "Past 14 Days", "Past 30 Days", "All Records"]
EXPORT_ENTRY = "Export logs to Email"

AEROBIC_NAMES = [" treadmill", " cycling", " elliptical", " jogging", " jump rope", " rowing",
                 " step machine", " swimming", " tennis"]

# The four values of each aerobic kind, in the order the log tables label them.
AEROBIC_VALUES = {
    " treadmill": ["Duration", "Speed", "Elevation", "Calories"],
    " cycling": ["Duration", "Speed", "Avg HR", "Calories"],
    " elliptical": ["Duration", "Resistance", "Incline", "Calories"],
    " jump rope": ["Duration", "Jumps", "Avg HR", "Calories"],
    " jogging": ["Duration", "Distance", "Avg HR", "Calories"],
    " rowing": ["Duration", "Distance", "Avg HR", "Calories"],
    " step machine": ["Duration", "Resistance", "Steps", "Calories"],
    " swimming": ["Duration", "Distance", "Avg HR", "Laps"],
    " tennis": ["Duration", "Sets", "Avg HR", "Matches"],
}

_M = {
    "DEL": "Deltoids", "PEC": "Pectoralis", "BRA": "Brachialis", "BIC": "Biceps Brachii",
    "ABS": "Rectus Abdominis", "OBL": "Obliques", "WF": "Wrist Flexors", "QUA": "Quadriceps",
    "TRA": "Trapezius", "RC": "Rotator Cuff", "INF": "Infraspinatus", "TRI": "Triceps Brachii",
    "LAT": "Latissimus Dorsi", "LB": "Lower Back", "GLU": "Glutes", "WE": "Wrist Extensors",
    "HAM": "Hamstrings", "SOL": "Soleus", "GAS": "Gastrocnemius",
}
_D = {"B": "Beginner", "I": "Intermediate", "A": "Advanced"}

# name | target1 | target2 (or "") | muscles, primary first | difficulty | description
_EXERCISES = """
 treadmill|Cardio||QUA HAM GAS GLU|B|Set the belt to an easy walking speed before you step on, then raise the speed and incline to suit the session. Stand tall, land softly under your hips and let your arms swing naturally. Hold the rails only to steady yourself, not to carry your weight.
 cycling|Cardio||QUA GLU HAM GAS|B|Adjust the saddle so your knee stays slightly bent at the bottom of each pedal stroke. Pedal with a steady cadence, pushing through the ball of the foot and keeping your hips still on the saddle. Change the resistance to make intervals or a long steady ride.
 elliptical|Cardio||QUA GLU HAM DEL|B|Step onto the pedals, hold the moving handles and start striding with a smooth, even rhythm. Push and pull the handles so your arms share the work, and keep your heels down on the pedals. Stand upright rather than leaning on the console.
 jogging|Cardio||QUA HAM GAS GLU|B|Run at a relaxed pace at which you could still hold a conversation. Keep your steps short and quick, land with the foot under your body and swing your arms forward and back rather than across. Start with a few minutes of brisk walking and finish the same way.
 jump rope|Cardio||GAS SOL QUA DEL|I|Hold the handles at hip height with your elbows close to your sides and turn the rope with your wrists. Jump just high enough to clear the rope, landing lightly on the balls of your feet. Keep a steady rhythm and breathe evenly; rest briefly when the rope catches.
 rowing|Cardio||LAT QUA HAM BIC|I|Strap your feet in, sit tall and take the handle with straight arms. Drive with the legs first, then lean back slightly and pull the handle to your lower ribs; reverse the order on the way forward. Most of the power should come from the legs, not the arms.
 step machine|Cardio||GLU QUA HAM GAS|B|Stand on the pedals or stairs with your whole foot and choose a pace you can hold. Climb with an upright chest, pressing through the heel of the working leg. Rest your hands lightly on the rails instead of leaning your weight on them.
 swimming|Cardio||LAT DEL TRI QUA|I|Swim lengths at a steady pace in the stroke you know best, breathing in a regular pattern. Keep your body long and near the surface and let the kick support the pull of the arms. Rest at the wall between sets whenever your form begins to slip.
 tennis|Cardio||QUA DEL OBL GAS|I|Warm up with easy rallies before playing points or games. Stay on the balls of your feet, turn your shoulders and hips into every stroke and recover to the centre after each shot. Take short breaks at change of ends and drink regularly.
Barbell Bench Press|Chest|Triceps|PEC DEL TRI|I|Lie on a flat bench with your eyes under the bar and your feet flat on the floor. Grip the bar slightly wider than your shoulders, lower it under control to the middle of your chest and press it back up over your shoulders. Keep your shoulder blades pulled together and your wrists straight.
Incline Barbell Bench Press|Chest|Shoulders|PEC DEL TRI|I|Set the bench to an incline of about 30 degrees and lie back with the bar above your upper chest. Lower the bar to just below your collarbones and press it straight up. Keep your elbows a little in front of the bar and your hips on the seat.
Decline Barbell Bench Press|Chest|Triceps|PEC TRI DEL|I|Hook your legs under the pads of a decline bench and lie back with the bar over your lower chest. Lower it to the bottom of your chest, then press it up until your arms are straight. Use a spotter, since the bar is harder to rack from this angle.
Dumbbell Bench Press|Chest|Triceps|PEC DEL TRI|B|Lie on a flat bench with a dumbbell in each hand at the sides of your chest, palms facing your feet. Press the weights up until your arms are straight, letting them drift together over your chest. Lower them slowly to the same starting point, keeping your feet flat.
Incline Dumbbell Press|Chest|Shoulders|PEC DEL TRI|B|Sit on a bench set to a low incline and bring the dumbbells to your shoulders. Press them up and slightly inward until your arms are straight above your upper chest. Lower slowly until you feel a stretch across the chest, then repeat.
Decline Dumbbell Press|Chest|Triceps|PEC TRI DEL|I|Secure your legs on a decline bench and hold the dumbbells at the sides of your lower chest. Press them up until they nearly touch, then lower them under control. Keep your lower back against the pad throughout.
Dumbbell Fly|Chest||PEC DEL|B|Lie on a flat bench holding the dumbbells above your chest with palms facing each other and elbows slightly bent. Open your arms in a wide arc until your hands are level with your chest, then bring them back together along the same path. Keep the bend in your elbows fixed so the chest does the work.
Incline Dumbbell Fly|Chest|Shoulders|PEC DEL|I|Lie on an incline bench with the dumbbells above your upper chest, palms facing and elbows soft. Lower them out to the sides in a wide arc until you feel a stretch, then squeeze them back up over your chest. Move slowly and avoid letting the weights drop below shoulder level.
Cable Crossover|Chest||PEC DEL|I|Set both pulleys high, take a handle in each hand and step forward into a split stance. With a slight bend in the elbows, pull the handles down and together in front of your hips. Pause, then let your arms open again until your chest is stretched.
Low Cable Fly|Chest|Shoulders|PEC DEL|I|Set both pulleys at the bottom and stand between them holding a handle in each hand. Sweep your hands up and together until they meet in front of your upper chest. Keep your elbows slightly bent and lower the handles slowly.
Pec Deck|Chest||PEC DEL|B|Sit with your back against the pad and place your forearms or hands on the machine's arms at chest height. Bring the arms together in front of you, squeeze your chest for a moment and let them open under control. Adjust the seat so your hands move at the level of your chest.
Machine Chest Press|Chest|Triceps|PEC TRI DEL|B|Set the seat so the handles line up with the middle of your chest. Press the handles forward until your arms are straight without locking the elbows, then let them come back slowly. Keep your back and head against the pad.
Smith Machine Bench Press|Chest|Triceps|PEC TRI DEL|B|Place a flat bench under the Smith machine bar so it lowers to the middle of your chest. Unhook the bar, lower it to your chest and press it back up. The fixed track steadies the bar, so focus on a smooth, even tempo.
Push-Up|Chest|Triceps|PEC TRI DEL ABS|B|Place your hands a little wider than your shoulders and hold your body in a straight line from head to heels. Bend your elbows to lower your chest close to the floor, then push back up. Brace your stomach so your hips neither sag nor rise.
Incline Push-Up|Chest|Triceps|PEC TRI DEL|B|Put your hands on a bench, box or sturdy table and walk your feet back until your body is straight. Lower your chest to the edge and push away until your arms are straight. The higher the support, the easier the exercise.
Decline Push-Up|Chest|Shoulders|PEC DEL TRI|I|Rest your feet on a bench and place your hands on the floor under your shoulders. Lower your chest toward the floor and press back up, keeping your body in one straight line. Raising the feet shifts more of the load to the upper chest and shoulders.
Chest Dip|Chest|Triceps|PEC TRI DEL|I|Support yourself on parallel bars with straight arms, lean your torso forward and bend your knees. Lower yourself until your shoulders are just below your elbows, then press back up. The forward lean keeps the work on the chest.
Dumbbell Pullover|Chest|Back|PEC LAT TRI|I|Lie across or along a bench holding one dumbbell with both hands above your chest. With slightly bent arms, lower it back over your head until you feel a stretch through your chest and sides. Pull it back over your chest along the same arc.
Floor Press|Chest|Triceps|TRI PEC DEL|I|Lie on the floor with your knees bent and a barbell or dumbbells above your chest. Lower the weight until your upper arms touch the floor, pause briefly and press it back up. The floor limits the range, which spares the shoulders and works the lockout.
Svend Press|Chest||PEC DEL|B|Stand holding two small weight plates pressed together between your palms in front of your chest. Squeeze the plates hard and push them straight out until your arms are extended, then draw them back. Keep pressing the plates together for the whole set.
Deadlift|Back|Legs|LB GLU HAM QUA TRA|A|Stand with the bar over your mid-foot, hinge down and grip it just outside your knees. Brace your stomach, flatten your back and stand up by pushing the floor away, keeping the bar close to your legs. Lower it by pushing your hips back first, then bending your knees.
Rack Pull|Back|Legs|LB TRA GLU HAM|I|Set the bar in a rack or on blocks just below knee height. Grip it, brace with a flat back and stand up tall, squeezing your glutes at the top. Lower it back to the pins under control before the next repetition.
Barbell Row|Back|Biceps|LAT TRA BIC LB|I|Hold a barbell with an overhand grip, hinge forward until your torso is close to parallel with the floor and let the bar hang. Pull it to your lower ribs, driving your elbows back, then lower it fully. Keep your back flat and avoid jerking your torso up.
Pendlay Row|Back|Biceps|LAT TRA BIC|A|Set up with your torso parallel to the floor and the bar resting on the ground. Pull it explosively to your lower chest and return it to the floor after every repetition. The dead stop removes momentum, so keep your back rigid on each pull.
One-Arm Dumbbell Row|Back|Biceps|LAT TRA BIC|B|Place one knee and hand on a bench and hold a dumbbell in the other hand with your arm straight. Pull the dumbbell up toward your hip until your elbow passes your torso, then lower it slowly. Keep your back flat and your shoulders square to the floor.
T-Bar Row|Back|Biceps|LAT TRA BIC|I|Straddle the bar, grip the handle and hinge forward with your knees slightly bent. Pull the handle to your chest, squeezing your shoulder blades together, then lower it until your arms are straight. Keep your chest up and your back flat.
Seated Cable Row|Back|Biceps|LAT TRA BIC|B|Sit at the cable station with your feet on the platform and knees slightly bent. Pull the handle to your stomach, sitting tall and drawing your shoulder blades together, then let your arms extend again. Do not rock back and forth to move the weight.
Chest-Supported Row|Back|Biceps|TRA LAT BIC DEL|B|Lie face down on an incline bench with a dumbbell in each hand hanging below you. Row the weights up until your elbows are level with your back, pause, and lower them. The bench keeps your lower back out of the movement.
Lat Pulldown|Back|Biceps|LAT BIC TRA|B|Sit with your thighs under the pads and take the bar with a grip wider than your shoulders. Pull it down to your upper chest while leaning back slightly and driving your elbows toward your ribs. Let the bar rise slowly until your arms are straight.
Close-Grip Lat Pulldown|Back|Biceps|LAT BIC BRA|B|Attach a narrow handle to the pulldown cable and sit with your thighs secured. Pull the handle to your upper chest, keeping your elbows close to your body. Return it slowly to full arm extension.
Pull-Up|Back|Biceps|LAT BIC TRA|I|Hang from a bar with an overhand grip a little wider than your shoulders. Pull yourself up until your chin clears the bar, then lower yourself until your arms are straight. Avoid swinging; start each repetition from a still hang.
Chin-Up|Back|Biceps|LAT BIC BRA|I|Hang from a bar with your palms facing you, hands about shoulder-width apart. Pull your chest toward the bar until your chin passes it, then lower yourself fully. Keep your legs still and your stomach tight.
Inverted Row|Back|Biceps|LAT TRA BIC|B|Lie under a bar set at waist height, grab it and hang with your heels on the floor and your body straight. Pull your chest up to the bar, then lower yourself until your arms are straight. Bend your knees to make it easier or raise your feet to make it harder.
Straight-Arm Pulldown|Back||LAT TRI|B|Stand facing a high pulley holding a bar with straight arms at eye level. Sweep the bar down in an arc to your thighs, keeping the arms straight and the torso still. Let it rise slowly back to the start.
Meadows Row|Back|Biceps|LAT TRA BIC|A|Stand side-on to a landmine bar in a staggered stance and grip the end of the bar with an overhand grip. Row the bar up past your hip, leading with your elbow, then lower it under control. Keep your hips square and let your shoulder blade move freely.
Barbell Shrug|Back|Shoulders|TRA|B|Stand tall holding a barbell in front of your thighs with straight arms. Lift your shoulders straight up toward your ears, hold briefly and lower them. Do not roll the shoulders; move them straight up and down.
Dumbbell Shrug|Back|Shoulders|TRA|B|Stand with a dumbbell in each hand at your sides. Raise your shoulders as high as you can, pause and let them drop slowly. Keep your arms straight and your head neutral.
Back Extension|Back|Glutes|LB GLU HAM|B|Set the pad of a back extension bench just below your hips and hook your heels under the rollers. Lower your torso toward the floor, then raise it until your body forms a straight line. Cross your arms on your chest and do not overextend at the top.
Superman|Back|Glutes|LB GLU|B|Lie face down with your arms stretched out in front of you. Lift your arms, chest and legs a few inches off the floor at the same time and hold for a moment. Lower slowly and keep your neck in line with your spine.
Good Morning|Back|Legs|LB HAM GLU|I|Rest a barbell across your upper back and stand with your feet hip-width apart. With a slight bend in the knees, push your hips back and lower your torso until it is nearly parallel to the floor. Stand back up by driving your hips forward, keeping your back flat throughout.
Reverse Hyperextension|Back|Glutes|LB GLU HAM|I|Lie face down on a high bench or reverse hyper machine with your hips at the edge and your legs hanging. Lift your straight legs until they line up with your torso, then lower them under control. Hold the bench firmly so your upper body stays still.
Bird Dog|Back|Abs|LB GLU ABS|B|Kneel on all fours with your hands under your shoulders and knees under your hips. Reach one arm forward and the opposite leg back until both are level with your torso, then return and switch sides. Keep your hips level and your back still.
Overhead Press|Shoulders|Triceps|DEL TRI TRA|I|Stand with the bar across the front of your shoulders and your hands just outside them. Press the bar straight overhead, moving your head back slightly to let it pass, until your arms are locked out. Squeeze your glutes and stomach so your lower back does not arch.
Seated Dumbbell Press|Shoulders|Triceps|DEL TRI|B|Sit on an upright bench with a dumbbell in each hand at shoulder height, palms facing forward. Press them overhead until your arms are straight, then lower them back to your shoulders. Keep your back against the pad.
Arnold Press|Shoulders|Triceps|DEL TRI|I|Sit holding the dumbbells in front of your shoulders with your palms facing you. As you press up, rotate your hands so your palms face forward at the top. Reverse the rotation as you lower the weights.
Machine Shoulder Press|Shoulders|Triceps|DEL TRI|B|Adjust the seat so the handles start at shoulder height. Press them up until your arms are nearly straight, then lower them slowly. Keep your back against the pad and your feet flat.
Push Press|Shoulders|Legs|DEL TRI QUA|A|Hold the bar on the front of your shoulders, dip a few inches at the knees and drive up hard with your legs. Use that drive to press the bar overhead and lock your arms out. Lower it back to your shoulders and reset before the next repetition.
Lateral Raise|Shoulders||DEL TRA|B|Stand holding a dumbbell at each side with a slight bend in your elbows. Raise the weights out to the sides until your arms are level with your shoulders, then lower them slowly. Lead with your elbows and avoid swinging your body.
Cable Lateral Raise|Shoulders||DEL|I|Stand side-on to a low pulley and take the handle in the far hand, across your body. Raise your arm out to the side until it is level with your shoulder, then lower it slowly. The cable keeps tension on the shoulder at the bottom of the movement.
Front Raise|Shoulders||DEL PEC|B|Stand holding the dumbbells in front of your thighs. Lift one or both weights straight in front of you to eye level, keeping your arms almost straight. Lower slowly and keep your torso still.
Plate Front Raise|Shoulders||DEL PEC|B|Hold a weight plate with both hands at the sides of the plate, arms extended in front of your hips. Raise it to eye level, pause, and lower it back down. Keep your stomach tight so you do not lean back.
Rear Delt Fly|Shoulders|Back|DEL TRA INF|B|Hinge forward with a dumbbell in each hand hanging under your chest. Raise the weights out to the sides with slightly bent elbows until your arms are level with your back. Squeeze between your shoulder blades and lower slowly.
Reverse Pec Deck|Shoulders|Back|DEL TRA INF|B|Sit facing the pec deck with the handles set for reverse flies. Pull the handles back in a wide arc until your arms are in line with your shoulders, then return them under control. Keep your chest against the pad.
Upright Row|Shoulders|Back|DEL TRA BIC|I|Hold a barbell or dumbbells in front of your thighs with a shoulder-width grip. Pull the weight up along your body until your elbows reach shoulder height, then lower it. Lead with your elbows and stop if you feel a pinch in the shoulder.
Face Pull|Shoulders|Back|DEL RC TRA|B|Set a rope on a high pulley, hold the ends with your thumbs toward you and step back. Pull the rope toward your face, separating the ends and turning your hands back so they finish beside your ears. Pause, then let the rope return slowly.
Landmine Press|Shoulders|Chest|DEL PEC TRI|B|Hold the end of a landmine bar at your shoulder in a split or square stance. Press the bar up and forward until your arm is straight, then lower it back to your shoulder. The angled path is easy on the shoulder joint.
Pike Push-Up|Shoulders|Triceps|DEL TRI|I|Start in a push-up position and walk your feet in until your hips are high and your body forms an upside-down V. Bend your elbows to lower the top of your head toward the floor between your hands, then press back up. Keep your weight over your hands.
Handstand Push-Up|Shoulders|Triceps|DEL TRI TRA|A|Kick up into a handstand with your heels against a wall and your hands a little wider than your shoulders. Lower yourself until your head lightly touches the floor or a pad, then press back up to straight arms. Only try it once you can hold a steady handstand.
Dumbbell External Rotation|Shoulders||INF RC|B|Lie on your side with a light dumbbell in your top hand and your elbow bent to 90 degrees against your waist. Rotate your forearm up away from your stomach as far as you can without moving the elbow, then lower it slowly. Use a light weight and a slow tempo.
Cable External Rotation|Shoulders||INF RC|B|Stand side-on to a pulley set at elbow height and hold the handle in the far hand with your elbow against your side. Rotate your forearm outward away from your body, then let it return slowly. Place a small towel between elbow and waist to keep the arm in place.
Band External Rotation|Shoulders||INF RC|B|Hold a light resistance band in both hands with your elbows bent at your sides and palms facing up. Rotate your forearms outward to stretch the band, keeping your elbows tucked in. Return slowly; this is a good warm-up before pressing.
Cable Internal Rotation|Shoulders||RC PEC|B|Stand side-on to a pulley at elbow height and hold the handle in the near hand with your elbow bent against your side. Rotate your forearm in across your stomach, then let it return slowly. Keep the upper arm still the whole time.
Cuban Press|Shoulders||RC DEL TRA|I|Hold a light barbell or dumbbells as for an upright row and raise your elbows to shoulder height. Rotate your forearms up until your hands are above your elbows, then press the weight overhead. Reverse each step on the way down.
Full Can Raise|Shoulders||RC DEL|B|Stand with light dumbbells at your sides, thumbs pointing up. Raise your arms at an angle about 30 degrees in front of your body until they reach shoulder height. Lower them slowly and keep your shoulders down.
Prone Y Raise|Shoulders|Back|TRA RC DEL|B|Lie face down on an incline bench with light weights hanging below your shoulders. Raise your arms forward and out into a Y shape with thumbs up, until they are level with your head. Lower slowly and keep your chest on the pad.
Barbell Curl|Biceps||BIC BRA WF|B|Stand holding a barbell with an underhand grip at shoulder width. Curl the bar up toward your shoulders, keeping your elbows at your sides, then lower it all the way. Do not swing your hips to help the lift.
EZ-Bar Curl|Biceps||BIC BRA|B|Hold an EZ bar on its angled inner grips with your palms facing up. Curl it to your upper chest with your elbows fixed at your sides, then lower it under control. The angled grip eases the strain on the wrists.
Dumbbell Curl|Biceps||BIC BRA|B|Stand with a dumbbell in each hand, palms facing forward. Curl both weights up to your shoulders, squeeze, and lower them slowly. Keep your upper arms still and your back straight.
Alternating Dumbbell Curl|Biceps||BIC BRA|B|Hold the dumbbells at your sides with your palms facing in. Curl one weight, turning your palm up as it rises, then lower it and curl the other. Keep the moving elbow close to your body.
Incline Dumbbell Curl|Biceps||BIC BRA|I|Sit back on a bench set at about 45 degrees and let the dumbbells hang straight down. Curl them up without moving your elbows forward, then lower them slowly to a full stretch. The incline stretches the long head of the biceps.
Concentration Curl|Biceps||BIC BRA|B|Sit on a bench and rest the back of your upper arm against your inner thigh with a dumbbell in that hand. Curl the weight toward your shoulder, pause, and lower it until your arm is straight. Keep your upper body still.
Preacher Curl|Biceps||BIC BRA|B|Sit at a preacher bench with your upper arms flat on the pad and hold an EZ bar or dumbbells. Curl the weight up until your forearms are vertical, then lower it slowly. Stop just short of locking the elbows at the bottom.
Cable Curl|Biceps||BIC BRA|B|Stand facing a low pulley with a straight bar attached and hold it with an underhand grip. Curl the bar to your chest with your elbows at your sides and lower it slowly. The cable keeps the biceps under tension through the whole range.
Spider Curl|Biceps||BIC BRA|I|Lie face down on an incline bench with your arms hanging straight down holding dumbbells or a bar. Curl the weight up as high as you can without moving your upper arms and squeeze. Lower it slowly to full extension.
Drag Curl|Biceps||BIC DEL|I|Hold a barbell with an underhand grip in front of your thighs. Curl the bar up while pulling your elbows back, so the bar drags up along your body to your chest. Lower it along the same path.
Zottman Curl|Biceps|Forearms|BIC BRA WE|I|Curl the dumbbells up with your palms facing up. At the top, turn your palms to face down and lower the weights slowly in that grip. Turn them back at the bottom and repeat.
Hammer Curl|Biceps|Forearms|BRA BIC WE|B|Hold the dumbbells at your sides with your palms facing each other. Curl them up while keeping your palms facing in, then lower them under control. This grip works the brachialis and forearm as well as the biceps.
Cross-Body Hammer Curl|Biceps|Forearms|BRA BIC|B|Hold a dumbbell in each hand with a neutral grip. Curl one weight up and across your body toward the opposite shoulder, then lower it and repeat with the other arm. Keep your elbows close to your sides.
Rope Hammer Curl|Biceps|Forearms|BRA BIC WE|B|Attach a rope to a low pulley and hold an end in each hand with your palms facing in. Curl the rope up toward your shoulders, keeping your elbows still, then lower it slowly. Keep your wrists straight.
Reverse Curl|Biceps|Forearms|BRA WE BIC|I|Hold a barbell or EZ bar with an overhand grip at shoulder width. Curl it up with your elbows at your sides, keeping your wrists straight, then lower it slowly. The overhand grip works the brachialis and forearm extensors.
Close-Grip Bench Press|Triceps|Chest|TRI PEC DEL|I|Lie on a flat bench and grip the bar with your hands about shoulder-width apart. Lower it to your lower chest, keeping your elbows close to your sides, and press it back up. Avoid gripping so narrowly that your wrists bend.
Skull Crusher|Triceps||TRI|I|Lie on a bench holding an EZ bar above your chest with straight arms. Bend only your elbows to lower the bar toward your forehead, then extend your arms to lift it back. Keep your upper arms still and pointing up.
Triceps Pushdown|Triceps||TRI|B|Stand facing a high pulley with a straight or angled bar. With your elbows tucked at your sides, push the bar down until your arms are straight, then let it rise until your forearms are parallel to the floor. Only your forearms should move.
Rope Pushdown|Triceps||TRI|B|Attach a rope to a high pulley and hold an end in each hand. Push the rope down and spread the ends apart at the bottom, straightening your arms fully. Return slowly while keeping your elbows by your sides.
Reverse-Grip Pushdown|Triceps|Forearms|TRI WE|I|Hold a straight bar on a high pulley with your palms facing up. Press the bar down until your arms are straight, then let it rise under control. Keep your elbows pinned to your sides and your wrists firm.
Overhead Dumbbell Extension|Triceps||TRI|B|Sit or stand holding one dumbbell with both hands above your head. Lower it behind your head by bending your elbows, then straighten your arms to lift it again. Keep your elbows pointing forward and close to your head.
Overhead Cable Extension|Triceps||TRI|I|Face away from a pulley with a rope held behind your head and step forward into a split stance. Straighten your arms to push the rope forward and up, then let it return behind your head. Keep your upper arms still beside your ears.
Triceps Kickback|Triceps||TRI DEL|B|Hinge forward with a dumbbell in one hand and your upper arm held against your side, parallel to the floor. Straighten your elbow to swing the weight back, then return it slowly. Keep your upper arm still throughout.
Bench Dip|Triceps|Chest|TRI PEC DEL|B|Sit on the edge of a bench with your hands beside your hips and slide your hips off the edge. Bend your elbows to lower yourself until your upper arms are level with the floor, then push back up. Keep your back close to the bench.
Triceps Dip|Triceps|Chest|TRI PEC DEL|I|Support yourself on parallel bars with straight arms and an upright torso. Lower yourself by bending your elbows until they reach about 90 degrees, then press back up to straight arms. Staying upright keeps the work on the triceps.
Diamond Push-Up|Triceps|Chest|TRI PEC DEL|I|Place your hands close together under your chest, forming a diamond with your thumbs and index fingers. Lower your chest to your hands with your elbows close to your sides, then push back up. Keep your body straight from head to heels.
JM Press|Triceps|Chest|TRI PEC|A|Lie on a bench with a close grip on the barbell. Lower the bar toward your upper chest and chin by letting your elbows travel forward while they bend, then press it back up. It is a hybrid of a close-grip press and a skull crusher; start light.
Tate Press|Triceps||TRI|I|Lie on a bench holding dumbbells above your chest with your palms facing your feet. Bend your elbows outward so the dumbbells come down to touch your chest, then extend your arms again. Keep your upper arms still.
Wrist Curl|Forearms||WF|B|Sit with your forearms on your thighs, palms facing up and a barbell in your hands. Let the bar roll down toward your fingertips, then curl your wrists up as far as you can. Move only at the wrist.
Dumbbell Wrist Curl|Forearms||WF|B|Rest one forearm on a bench or your thigh with your palm up and a dumbbell in your hand. Lower the weight by bending the wrist back, then curl it up. Train each arm separately.
Behind-the-Back Wrist Curl|Forearms||WF|I|Stand holding a barbell behind your thighs with your palms facing back. Let the bar roll down into your fingers, then curl your wrists to lift it as high as you can. Keep your arms straight and still.
Reverse Wrist Curl|Forearms||WE|B|Sit with your forearms on your thighs, palms facing down, holding a barbell. Lower the bar by bending your wrists down, then raise the backs of your hands as high as you can. Use a light weight; the extensors are weaker than the flexors.
Dumbbell Reverse Wrist Curl|Forearms||WE|B|Rest your forearm on a bench with your palm down and a light dumbbell in your hand. Lower the weight, then lift the back of your hand toward the ceiling. Keep the forearm flat on the bench.
Wrist Roller|Forearms||WE WF|I|Hold a wrist roller at shoulder height with straight arms. Roll the weight up by turning the handle over the top, one hand after the other, then roll it back down slowly. Reverse the direction of rolling to train the other side of the forearm.
Farmer's Walk|Forearms|Back|WF TRA QUA ABS|B|Pick up a heavy dumbbell or kettlebell in each hand and stand tall. Walk with short, steady steps for the set distance or time, keeping your shoulders back. Put the weights down carefully by bending at the hips and knees.
Plate Pinch|Forearms||WF|B|Pinch two smooth weight plates together between your fingers and thumb with the smooth sides out. Lift them and hold them at your side for as long as you can. Switch hands and repeat.
Dead Hang|Forearms|Back|WF LAT|B|Grab a pull-up bar with an overhand grip and hang with straight arms and relaxed shoulders. Hold for time, breathing steadily. Build up gradually if your grip gives out quickly.
Crunch|Abs||ABS OBL|B|Lie on your back with your knees bent and your hands lightly behind your head. Curl your shoulders off the floor by tightening your stomach, then lower them slowly. Do not pull on your neck.
Sit-Up|Abs||ABS OBL|B|Lie on your back with your knees bent and your feet anchored. Curl your torso all the way up until your chest is near your thighs, then roll back down one vertebra at a time. Cross your arms on your chest to keep your hands off your neck.
Decline Sit-Up|Abs||ABS OBL|I|Hook your feet under the pads of a decline bench and lie back. Curl your torso up toward your knees, then lower it under control. Hold a weight plate on your chest to make it harder.
Reverse Crunch|Abs||ABS OBL|B|Lie on your back with your hips and knees bent to 90 degrees and your arms at your sides. Curl your hips off the floor toward your chest, then lower them slowly. Move with your stomach, not with momentum.
Bicycle Crunch|Abs||OBL ABS|B|Lie on your back with your hands behind your head and your legs raised. Bring one elbow toward the opposite knee while straightening the other leg, then switch sides in a pedalling motion. Move steadily rather than fast.
Oblique Crunch|Abs||OBL ABS|B|Lie on one side with your knees bent and your top hand behind your head. Lift your upper shoulder toward your hip by shortening your side, then lower slowly. Finish the set before turning over.
Cable Crunch|Abs||ABS OBL|I|Kneel facing a high pulley and hold a rope beside your head. Curl your torso down, bringing your elbows toward your thighs, then rise back slowly. Keep your hips still so the stomach does the work.
Hanging Leg Raise|Abs||ABS OBL|A|Hang from a pull-up bar with straight arms. Raise your straight legs until they are level with your hips or higher, then lower them without swinging. Tilt your pelvis up at the top to involve the lower abs fully.
Hanging Knee Raise|Abs||ABS OBL|I|Hang from a bar with your arms straight. Draw your knees up toward your chest, curling your pelvis at the top, then lower them slowly. Pause at the bottom to stop the swing.
Lying Leg Raise|Abs||ABS|B|Lie on your back with your legs straight and your hands under your hips. Raise your legs until they point at the ceiling, then lower them slowly without letting your lower back arch. Stop just above the floor.
Toes-to-Bar|Abs|Back|ABS LAT OBL|A|Hang from a bar and raise your straight legs until your toes touch the bar between your hands. Lower them under control. Press the bar down with straight arms to help lift your legs.
Plank|Abs||ABS OBL|B|Support yourself on your forearms and toes with your elbows under your shoulders. Hold your body in a straight line from head to heels, tightening your stomach and glutes. Breathe steadily and stop when your hips begin to sag.
Side Plank|Abs||OBL ABS|B|Lie on one side and lift your hips so you rest on one forearm and the side of your foot. Keep your body in a straight line and hold. Switch sides and hold for the same time.
Russian Twist|Abs||OBL ABS|I|Sit with your knees bent, lean back slightly and lift your feet off the floor. Rotate your torso to one side, touching a weight or your hands to the floor beside your hip, then turn to the other side. Turn from the trunk, not just the arms.
Ab Wheel Rollout|Abs|Back|ABS LAT OBL|A|Kneel holding an ab wheel on the floor below your shoulders. Roll it forward slowly, letting your body lengthen until it is almost flat, then pull it back with your stomach. Keep your back from sagging.
Mountain Climber|Abs|Cardio|ABS QUA DEL|B|Start in a push-up position with your arms straight. Drive one knee toward your chest, then switch legs quickly as if running in place. Keep your hips level and your hands under your shoulders.
Dead Bug|Abs||ABS OBL|B|Lie on your back with your arms pointing up and your knees bent above your hips. Lower one arm behind you and the opposite leg toward the floor, then return and switch sides. Keep your lower back pressed into the floor.
V-Up|Abs||ABS OBL|I|Lie flat with your arms stretched overhead. Raise your legs and torso at the same time, reaching your hands toward your feet so your body forms a V. Lower both back down slowly.
Hollow Body Hold|Abs||ABS|I|Lie on your back, press your lower back into the floor and lift your shoulders and straight legs slightly. Reach your arms past your head and hold the curved position. Bend your knees if your back begins to lift.
Dragon Flag|Abs|Back|ABS OBL LAT|A|Lie on a bench and grip it behind your head. Lift your whole body up onto your upper back, keeping it straight from shoulders to feet, then lower it slowly without bending at the hips. Begin with the lowering phase only.
Cable Woodchopper|Abs||OBL ABS DEL|I|Stand side-on to a high pulley and hold the handle with both hands. Pull it down and across your body toward the opposite knee, rotating through your trunk and pivoting your back foot. Return slowly and finish the set before switching sides.
Pallof Press|Abs||OBL ABS|B|Stand side-on to a pulley at chest height and hold the handle against your chest with both hands. Press it straight out in front of you and resist the pull that tries to turn you. Hold briefly and bring it back.
Dumbbell Side Bend|Abs||OBL LB|B|Stand with a dumbbell in one hand at your side. Bend sideways toward the weight, then return upright by tightening the opposite side. Finish the set, then switch hands.
Back Squat|Legs|Glutes|QUA GLU HAM LB|I|Rest the bar on your upper back and stand with your feet about shoulder-width apart. Push your hips back and bend your knees to sit down between your heels until your thighs are at least parallel, then stand up. Keep your chest up and your knees moving in line with your toes.
Front Squat|Legs|Glutes|QUA GLU ABS|A|Hold the bar across the front of your shoulders with your elbows high. Squat down with an upright torso as deep as you can keep good form, then drive back up. Keep your elbows up so the bar does not roll forward.
Goblet Squat|Legs|Glutes|QUA GLU|B|Hold a dumbbell or kettlebell against your chest with both hands. Squat down between your knees, keeping your chest tall and your heels on the floor, then stand up. The weight in front helps you stay upright.
Box Squat|Legs|Glutes|QUA GLU HAM|I|Place a box behind you at a height that puts your thighs about parallel when you sit. With a bar on your back, sit back onto the box under control, pause briefly and stand up. Stay tight while seated rather than relaxing onto the box.
Smith Machine Squat|Legs|Glutes|QUA GLU|B|Stand under the Smith machine bar with your feet slightly in front of your hips. Unhook the bar and squat down until your thighs are parallel, then push back up. The guided bar lets you concentrate on your legs.
Hack Squat|Legs||QUA GLU|I|Stand on the platform of a hack squat machine with your back against the pad and shoulders under the supports. Lower yourself until your knees are bent to about 90 degrees, then press back up. Keep your heels flat on the platform.
Leg Press|Legs|Glutes|QUA GLU HAM|B|Sit in the leg press with your feet shoulder-width apart on the platform. Release the safety, lower the platform until your knees are bent to about 90 degrees and push it back up. Do not let your lower back lift off the seat.
Leg Extension|Legs||QUA|B|Sit in the machine with the pad resting on your lower shins. Straighten your legs until they are level with the floor, squeeze your thighs, and lower them slowly. Hold the handles to keep your hips on the seat.
Walking Lunge|Legs|Glutes|QUA GLU HAM|I|Stand holding dumbbells at your sides and take a long step forward. Lower your back knee toward the floor, then push off the back foot and step straight into the next lunge. Keep your front knee over your foot and your torso upright.
Reverse Lunge|Legs|Glutes|QUA GLU|B|Stand tall and take a long step back with one foot. Lower your back knee until it nearly touches the floor, then push through your front heel to return. Alternate legs or finish one side first.
Bulgarian Split Squat|Legs|Glutes|QUA GLU HAM|I|Stand a stride in front of a bench and rest the top of your back foot on it. Lower your hips until your front thigh is about parallel to the floor, then push back up through the front heel. Keep most of your weight on the front leg.
Step-Up|Legs|Glutes|QUA GLU|B|Stand facing a knee-high box or bench with dumbbells at your sides. Step up with one foot and drive through that heel to stand on top, then step back down. Avoid pushing off with the trailing leg.
Pistol Squat|Legs|Glutes|QUA GLU ABS|A|Stand on one leg with the other leg held straight in front of you. Squat down on the standing leg as deep as you can while keeping your heel down, then stand back up. Hold a support or sit to a box until you have the balance and strength.
Sissy Squat|Legs||QUA|A|Stand holding a support with one hand and rise onto the balls of your feet. Lean back while bending your knees forward, lowering your body in a straight line from knees to head, then return upright. Go only as deep as your knees allow.
Jump Squat|Legs|Cardio|QUA GLU GAS|I|Stand with your feet shoulder-width apart and squat down to about parallel. Jump up explosively, land softly with bent knees and move straight into the next squat. Keep your knees in line with your toes on landing.
Wall Sit|Legs||QUA GLU|B|Lean your back against a wall and slide down until your knees are bent at 90 degrees. Hold the position with your feet flat and your back against the wall. Breathe steadily until the time is up.
Bodyweight Squat|Legs|Glutes|QUA GLU|B|Stand with your feet shoulder-width apart and your arms in front of you. Sit your hips back and down until your thighs are parallel to the floor, then stand up. Keep your heels on the floor and your chest lifted.
Romanian Deadlift|Legs|Glutes|HAM GLU LB|I|Hold a barbell in front of your thighs with straight arms and soft knees. Push your hips back and slide the bar down your legs until you feel a strong stretch in your hamstrings, then drive your hips forward to stand. Keep your back flat and the bar close to your body.
Stiff-Legged Deadlift|Legs|Back|HAM LB GLU|I|Stand with a barbell in front of your thighs and your knees almost straight. Hinge at the hips to lower the bar toward the floor as far as your flexibility allows with a flat back, then return to standing. Move slowly and keep the bar near your shins.
Single-Leg Romanian Deadlift|Legs|Glutes|HAM GLU LB|I|Stand on one leg holding a dumbbell in the opposite hand. Hinge forward while your free leg extends behind you, until your torso is nearly level, then return upright. Keep your hips square to the floor.
Sumo Deadlift|Legs|Glutes|GLU QUA HAM LB|A|Stand with a wide stance and your toes turned out, and grip the bar between your knees. Keep your chest up and push your knees out as you stand up with the bar. Lower it the same way, keeping it close to your body.
Trap Bar Deadlift|Legs|Back|QUA GLU HAM TRA|I|Step inside a trap bar and take hold of the handles at your sides. With a flat back, push through the floor to stand up tall, then lower the bar under control. The centred load makes the lift easier on the lower back than a straight bar.
Lying Leg Curl|Legs||HAM GAS|B|Lie face down on the machine with the pad just above your heels. Curl your heels toward your glutes, squeeze, and lower them slowly. Keep your hips pressed into the bench.
Seated Leg Curl|Legs||HAM GAS|B|Sit in the machine with the pad behind your lower legs and the thigh pad snug. Pull your heels down and back as far as you can, then let them return slowly. Keep your back against the seat.
Nordic Hamstring Curl|Legs||HAM GLU|A|Kneel with your ankles held firmly by a partner or under a pad. Lower your body forward as slowly as you can, keeping a straight line from knees to head, and catch yourself with your hands. Push off lightly and pull yourself back up with your hamstrings.
Glute-Ham Raise|Legs|Glutes|HAM GLU GAS|A|Set yourself in a glute-ham bench with your knees behind the pad and your feet locked in. Lower your torso until it is level with the floor, then curl yourself back up using your hamstrings. Keep your hips extended through the movement.
Kettlebell Swing|Legs|Glutes|HAM GLU LB DEL|I|Stand with your feet wide and a kettlebell on the floor in front of you. Hike it back between your legs, then snap your hips forward to swing it up to chest height with straight arms. Let it fall back into the next hinge; the power comes from the hips, not the arms.
Barbell Hip Thrust|Glutes|Legs|GLU HAM QUA|I|Sit on the floor with your upper back against a bench and a padded barbell across your hips. Drive through your heels to lift your hips until your body is level from shoulders to knees, then lower them. Squeeze your glutes hard at the top.
Glute Bridge|Glutes|Legs|GLU HAM|B|Lie on your back with your knees bent and your feet flat near your hips. Press through your heels to raise your hips until your body forms a straight line, hold briefly and lower. Keep your ribs down so your back does not arch.
Single-Leg Glute Bridge|Glutes|Legs|GLU HAM|I|Lie on your back with one knee bent and the other leg raised. Push through the planted heel to lift your hips, keeping them level, then lower slowly. Finish the set before changing legs.
Cable Glute Kickback|Glutes||GLU HAM|B|Attach an ankle strap to a low pulley and face the machine. Kick the strapped leg straight back until your hip is fully extended, then return slowly. Keep your torso still and avoid arching your lower back.
Donkey Kick|Glutes||GLU HAM|B|Kneel on all fours with your hands under your shoulders. Keeping the knee bent, lift one leg until the sole of your foot faces the ceiling, then lower it. Hold your hips level throughout.
Fire Hydrant|Glutes||GLU|B|Kneel on all fours and keep your knees bent at 90 degrees. Lift one knee out to the side as high as you can without tilting your hips, then lower it. Complete the set before switching legs.
Cable Pull-Through|Glutes|Legs|GLU HAM LB|B|Face away from a low pulley with a rope held between your legs. Hinge at the hips to let the rope pull your hands back, then drive your hips forward to stand tall. Keep your arms straight; they only hold the rope.
Frog Pump|Glutes||GLU|B|Lie on your back with the soles of your feet together and your knees falling out to the sides. Press through the edges of your feet to lift your hips quickly, squeeze and lower. Do many quick repetitions.
Lateral Band Walk|Glutes|Legs|GLU QUA|B|Place a resistance band around your legs just above the knees or at the ankles. Sit into a slight squat and step sideways, keeping tension on the band. Take the same number of steps back the other way.
Cable Hip Abduction|Glutes||GLU|B|Attach an ankle strap to a low pulley and stand side-on with the strap on the far ankle. Lift that leg out to the side, then return it slowly. Stand tall and hold on for balance.
Sumo Squat|Glutes|Legs|GLU QUA|B|Stand with your feet wide and your toes turned out, holding a dumbbell between your legs. Squat down while pushing your knees out over your toes, then stand up. Keep your torso upright.
Standing Calf Raise|Calves||GAS SOL|B|Stand in the calf machine with the pads on your shoulders and the balls of your feet on the step. Lower your heels as far as you can, then rise onto your toes as high as possible. Pause at the top and bottom.
Barbell Calf Raise|Calves||GAS SOL|I|Stand with a barbell across your upper back and the balls of your feet on a low block. Rise onto your toes, pause and lower your heels below the block. Keep your knees straight and your body upright.
Single-Leg Calf Raise|Calves||GAS SOL|B|Stand on one foot on a step with a dumbbell in the same hand and the other hand on a rail. Lower your heel, then rise as high as you can. Complete the set before switching legs.
Donkey Calf Raise|Calves||GAS SOL|I|Bend forward at the hips with your hands on a support and the balls of your feet on a block. Have a partner sit across your hips or use the machine, then raise and lower your heels through the full range. Keep your knees straight.
Leg Press Calf Raise|Calves||GAS SOL|B|Sit in the leg press and place the balls of your feet on the bottom edge of the platform. With your knees straight, push the platform away by pointing your toes, then let it come back. Keep the safety catches within reach.
Smith Machine Calf Raise|Calves||GAS SOL|B|Stand under the Smith machine bar with the balls of your feet on a block. Unhook the bar and rise onto your toes, pause, and lower your heels below the block. The guided bar keeps you balanced.
Stair Calf Raise|Calves||GAS SOL|B|Stand on the edge of a stair with your heels hanging off and a hand on the rail. Raise yourself onto your toes, then lower your heels below the step. Add a backpack or dumbbell when it becomes easy.
Seated Calf Raise|Calves||SOL GAS|B|Sit in the machine with the pad across your lower thighs and the balls of your feet on the platform. Lower your heels as far as possible, then push up onto your toes. The bent knee shifts the work to the soleus.
Seated Dumbbell Calf Raise|Calves||SOL|B|Sit on a bench with the balls of your feet on a block and a dumbbell resting on each knee. Raise your heels as high as you can, then lower them slowly. Keep your knees bent at 90 degrees.
Bent-Knee Wall Calf Raise|Calves||SOL GAS|B|Stand facing a wall with your hands on it and your knees slightly bent. Rise onto your toes while keeping the bend in your knees, then lower slowly. Keeping the knees bent works the soleus.
"""


def image_name(name):
    """The base name of an exercise's pictures: lower case, words joined by "_"."""
    return re.sub(r"[^a-z0-9]+", "_", name.lower()).strip("_")


def _parse():
    records = []
    for line in _EXERCISES.strip("\n").split("\n"):
        name, target1, target2, muscles, difficulty, description = line.split("|")
        names = [_M[m] for m in muscles.split()]
        record = {"name": name, "image": image_name(name), "description": description,
                  "target1": target1, "muscle1": names[0], "difficulty": _D[difficulty]}
        if target2:
            record["target2"] = target2
        for i, muscle in enumerate(names[1:4], start=2):
            record["muscle%d" % i] = muscle
        records.append(record)
    return records


EXERCISES = _parse()


def _routine(name, brief, full, sections):
    """sections: (title, [(exercise name, prescription), ...]), at most 19 of each."""
    record = {"name": name, "briefdescription": brief, "fulldescription": full}
    for i, (title, items) in enumerate(sections, start=1):
        record["section%d" % i] = title
        for j, (exercise, prescription) in enumerate(items, start=1):
            record["section%dexercise%d" % (i, j)] = exercise
            record["section%dset%d" % (i, j)] = prescription
    return record


ROUTINES = [
    _routine(
        "Beginner Full Body",
        "Three short full-body sessions a week with simple machine and dumbbell exercises. A good "
        "first plan.",
        "Train three times a week with a rest day between sessions, for example Monday, Wednesday "
        "and Friday. Each session works the whole body with one exercise for each main area.\n\n"
        "Choose weights you can lift for the top of the rep range with good form and two or three "
        "repetitions left in reserve. When every set reaches the top of the range, add a little "
        "weight next time. Rest about 90 seconds between sets.\n\n"
        "Start with five minutes on a bike or treadmill to warm up.",
        [("Warm-up", [(" cycling", "5 min easy")]),
         ("Full Body", [("Goblet Squat", "3 sets of 10-12 reps"),
                        ("Machine Chest Press", "3 sets of 10-12 reps"),
                        ("Lat Pulldown", "3 sets of 10-12 reps"),
                        ("Seated Dumbbell Press", "2 sets of 10-12 reps"),
                        ("Glute Bridge", "2 sets of 12-15 reps"),
                        ("Dumbbell Curl", "2 sets of 10-12 reps"),
                        ("Triceps Pushdown", "2 sets of 10-12 reps"),
                        ("Plank", "3 holds of 20-40 s")])]),
    _routine(
        "Push / Pull / Legs",
        "Three training days that split the body into pushing, pulling and leg work. For lifters "
        "with some experience.",
        "Run the three days in order and repeat the cycle once or twice a week, with at least one "
        "rest day each cycle. Push day trains chest, shoulders and triceps; pull day trains back "
        "and biceps; leg day trains thighs, glutes and calves.\n\n"
        "Start each day with the heavy compound lift and rest two to three minutes between its "
        "sets. Rest 60 to 90 seconds on the smaller exercises. Add weight when you reach the top "
        "of the rep range on every set.",
        [("Push", [("Barbell Bench Press", "4 sets of 6-8 reps"),
                   ("Overhead Press", "3 sets of 6-8 reps"),
                   ("Incline Dumbbell Press", "3 sets of 8-12 reps"),
                   ("Lateral Raise", "3 sets of 12-15 reps"),
                   ("Rope Pushdown", "3 sets of 10-12 reps"),
                   ("Overhead Dumbbell Extension", "2 sets of 10-12 reps")]),
         ("Pull", [("Deadlift", "3 sets of 5 reps"),
                   ("Pull-Up", "3 sets of 6-10 reps"),
                   ("Barbell Row", "3 sets of 8-10 reps"),
                   ("Face Pull", "3 sets of 12-15 reps"),
                   ("Barbell Curl", "3 sets of 8-12 reps"),
                   ("Hammer Curl", "2 sets of 10-12 reps")]),
         ("Legs", [("Back Squat", "4 sets of 6-8 reps"),
                   ("Romanian Deadlift", "3 sets of 8-10 reps"),
                   ("Leg Press", "3 sets of 10-12 reps"),
                   ("Lying Leg Curl", "3 sets of 10-12 reps"),
                   ("Standing Calf Raise", "4 sets of 10-15 reps")])]),
    _routine(
        "Upper / Lower Split",
        "Four sessions a week alternating upper-body and lower-body days. Balanced volume for "
        "steady progress.",
        "Train four days a week: upper, lower, rest, upper, lower, then two rest days. Each area "
        "is trained twice a week, which suits most people once the beginner stage is over.\n\n"
        "Keep two repetitions in reserve on most sets and push closer to failure only on the last "
        "set of the smaller exercises. Rest two minutes on the first two exercises of each day and "
        "about a minute on the rest.",
        [("Upper Day", [("Dumbbell Bench Press", "4 sets of 8-10 reps"),
                        ("Seated Cable Row", "4 sets of 8-10 reps"),
                        ("Seated Dumbbell Press", "3 sets of 8-12 reps"),
                        ("Chin-Up", "3 sets of 6-10 reps"),
                        ("Incline Dumbbell Curl", "2 sets of 10-12 reps"),
                        ("Skull Crusher", "2 sets of 10-12 reps")]),
         ("Lower Day", [("Front Squat", "4 sets of 6-8 reps"),
                        ("Barbell Hip Thrust", "3 sets of 8-10 reps"),
                        ("Bulgarian Split Squat", "3 sets of 8-10 reps each leg"),
                        ("Seated Leg Curl", "3 sets of 10-12 reps"),
                        ("Seated Calf Raise", "3 sets of 12-15 reps"),
                        ("Hanging Knee Raise", "3 sets of 10-15 reps")])]),
    _routine(
        "5 x 5 Strength",
        "Two alternating barbell workouts of five sets of five. A classic plan for building "
        "strength.",
        "Train three days a week, alternating workout A and workout B: A, B, A one week and B, A, "
        "B the next. Each main lift is done for five sets of five repetitions with the same "
        "weight.\n\n"
        "Start with weights you can move easily and add 2.5 kg (5 lb) to each lift every session "
        "in which you complete all five sets of five; add it to the deadlift every time. If you "
        "miss the target three sessions in a row, lower that lift by ten percent and build up "
        "again. Rest three to five minutes between heavy sets.",
        [("Workout A", [("Back Squat", "5 sets of 5 reps"),
                        ("Barbell Bench Press", "5 sets of 5 reps"),
                        ("Barbell Row", "5 sets of 5 reps")]),
         ("Workout B", [("Back Squat", "5 sets of 5 reps"),
                        ("Overhead Press", "5 sets of 5 reps"),
                        ("Deadlift", "1 set of 5 reps")])]),
    _routine(
        "Dumbbells Only",
        "A full-body plan for home or a small gym that needs nothing but a pair of dumbbells and "
        "a bench.",
        "Do the two sessions on alternating days, three or four times a week. Every exercise uses "
        "dumbbells, and a flat bench or a sturdy step is the only other equipment.\n\n"
        "When you can do every set at the top of the rep range, move to heavier dumbbells or slow "
        "the lowering phase to three seconds. Rest 60 to 90 seconds between sets.",
        [("Day 1", [("Goblet Squat", "4 sets of 10-12 reps"),
                    ("Dumbbell Bench Press", "4 sets of 8-12 reps"),
                    ("One-Arm Dumbbell Row", "4 sets of 10 reps each arm"),
                    ("Lateral Raise", "3 sets of 12-15 reps"),
                    ("Hammer Curl", "3 sets of 10-12 reps")]),
         ("Day 2", [("Single-Leg Romanian Deadlift", "3 sets of 10 reps each leg"),
                    ("Walking Lunge", "3 sets of 10 steps each leg"),
                    ("Incline Dumbbell Press", "3 sets of 10-12 reps"),
                    ("Seated Dumbbell Press", "3 sets of 8-12 reps"),
                    ("Triceps Kickback", "3 sets of 12 reps"),
                    ("Single-Leg Calf Raise", "3 sets of 15 reps each leg")])]),
    _routine(
        "Bodyweight Anywhere",
        "No equipment at all: a circuit you can do at home, in a park or in a hotel room.",
        "Go through the circuit with little rest between exercises, then rest two minutes and "
        "repeat it two to four times. Three sessions a week on non-consecutive days work well.\n\n"
        "To make it harder, slow every repetition down, add repetitions or move to the harder "
        "versions: decline push-ups instead of push-ups, Bulgarian split squats instead of "
        "bodyweight squats. Use a sturdy table for the inverted rows.",
        [("Circuit", [("Bodyweight Squat", "20 reps"),
                      ("Push-Up", "10-20 reps"),
                      ("Reverse Lunge", "10 reps each leg"),
                      ("Inverted Row", "8-12 reps"),
                      ("Glute Bridge", "15-20 reps"),
                      ("Pike Push-Up", "8-10 reps"),
                      ("Mountain Climber", "30 s"),
                      ("Plank", "30-60 s")]),
         ("Finisher", [("Jump Squat", "3 sets of 10 reps"),
                       ("Stair Calf Raise", "2 sets of 20 reps")])]),
    _routine(
        "Core Strength",
        "A short session for the stomach, sides and lower back that fits at the end of any "
        "workout.",
        "Add this session to the end of your training two or three times a week, or do it on its "
        "own. It trains the core to bend, to resist bending and to resist twisting.\n\n"
        "Move slowly and keep control of your lower back in every exercise. Rest 30 to 45 "
        "seconds between sets. Progress by adding time to the holds and repetitions to the "
        "movements before you add weight.",
        [("Stability", [("Dead Bug", "3 sets of 8 reps each side"),
                        ("Plank", "3 holds of 45 s"),
                        ("Side Plank", "2 holds of 30 s each side"),
                        ("Pallof Press", "3 sets of 10 reps each side")]),
         ("Strength", [("Hanging Knee Raise", "3 sets of 10-12 reps"),
                       ("Cable Crunch", "3 sets of 12-15 reps"),
                       ("Russian Twist", "3 sets of 20 turns"),
                       ("Back Extension", "3 sets of 12-15 reps")])]),
    _routine(
        "Cardio and Conditioning",
        "Machine intervals and a short strength circuit to build fitness and burn energy.",
        "Do this session two or three times a week alongside your strength training, or on its "
        "own. Keep the warm-up easy, work hard in the intervals and cool down until your "
        "breathing is back to normal.\n\n"
        "For the intervals, alternate one minute fast with one minute easy. In the circuit, move "
        "from one exercise to the next with as little rest as you can and rest a minute at the "
        "end of each round.",
        [("Warm-up", [(" jogging", "10 min easy")]),
         ("Intervals", [(" rowing", "10 min: 1 min hard, 1 min easy"),
                        (" cycling", "10 min: 1 min hard, 1 min easy")]),
         ("Circuit", [("Kettlebell Swing", "3 rounds of 15 reps"),
                      ("Jump Squat", "3 rounds of 10 reps"),
                      ("Mountain Climber", "3 rounds of 30 s"),
                      ("Push-Up", "3 rounds of 10 reps")]),
         ("Cool-down", [(" elliptical", "10 min easy")])]),
    _routine(
        "Arms and Shoulders",
        "An extra session for bigger, stronger arms and rounder shoulders.",
        "Add this session once a week to a plan that already trains the whole body, on a day "
        "with no heavy pressing or pulling before it. It pairs biceps and triceps exercises so "
        "one muscle rests while the other works.\n\n"
        "Do the paired exercises back to back and rest a minute after each pair. Keep strict form "
        "and slow lowering phases rather than heavy weights.",
        [("Shoulders", [("Arnold Press", "3 sets of 8-12 reps"),
                        ("Cable Lateral Raise", "3 sets of 12-15 reps"),
                        ("Rear Delt Fly", "3 sets of 12-15 reps")]),
         ("Arms", [("EZ-Bar Curl", "3 sets of 8-12 reps"),
                   ("Close-Grip Bench Press", "3 sets of 8-12 reps"),
                   ("Preacher Curl", "3 sets of 10-12 reps"),
                   ("Overhead Cable Extension", "3 sets of 10-12 reps"),
                   ("Reverse Curl", "2 sets of 12-15 reps"),
                   ("Wrist Curl", "2 sets of 15-20 reps")])]),
    _routine(
        "Shoulder Health",
        "Light rotator cuff and upper-back work that keeps the shoulders healthy for pressing.",
        "Use this sequence as a warm-up before upper-body sessions or as a short session on its "
        "own two or three times a week. The weights should be light: the aim is smooth, "
        "controlled movement, not fatigue.\n\n"
        "Stop any exercise that causes pain in the joint and see a professional if it persists.",
        [("Rotator Cuff", [("Band External Rotation", "2 sets of 15 reps"),
                           ("Dumbbell External Rotation", "2 sets of 12 reps each arm"),
                           ("Cable Internal Rotation", "2 sets of 12 reps each arm"),
                           ("Full Can Raise", "2 sets of 12 reps")]),
         ("Upper Back", [("Face Pull", "3 sets of 15 reps"),
                         ("Prone Y Raise", "2 sets of 12 reps"),
                         ("Reverse Pec Deck", "2 sets of 15 reps")])]),
]
