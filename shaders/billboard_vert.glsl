#version 120
// Program "billboard": a sprite drawn straight to the screen. The quad arrives
// in the object's frame with its corners at +-0.5 and is turned to face the
// viewer about the object's origin. The current colour carries the sprite's
// size, unclamped: red is its width and green its height in world units.
void main() {
    vec4 centre = gl_ModelViewMatrix * vec4(0.0, 0.0, 0.0, 1.0);
    vec4 eye = centre + vec4(gl_Vertex.x * gl_Color.r, gl_Vertex.y * gl_Color.g, 0.0, 0.0);
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = gl_ProjectionMatrix * eye;
}
